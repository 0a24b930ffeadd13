#include "ScaleSettings.hpp"

#include <QByteArray>
#include <QByteArrayList>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace app::qt {
namespace {

constexpr double kSmallestScale = 0.25;
constexpr double kLargestScale = 8.0;

bool isSaneScale(const QByteArray& text) {
    bool parsed = false;
    const double scale = text.toDouble(&parsed);
    return parsed && std::isfinite(scale) && scale >= kSmallestScale && scale <= kLargestScale;
}

// Entries are separated by semicolons; an empty one (a trailing semicolon) says nothing.
bool everyEntryIsSane(const QByteArray& factors) {
    return std::ranges::all_of(factors.split(';'), [](const QByteArray& entry) {
        return entry.trimmed().isEmpty() || isSaneScale(entry.mid(entry.lastIndexOf('=') + 1));
    });
}

void dropIfUnusable(const char* name, bool (*isUsable)(const QByteArray&)) {
    const QByteArray value = qgetenv(name);
    if (value.isEmpty() || isUsable(value)) {
        return;
    }
    qunsetenv(name);
    static_cast<void>(std::fprintf(
        stderr,
        "quillmarch-color-converter: ignoring %s=\"%s\": scale factors must be numbers from "
        "%g to %g; using the screen's own scale\n",
        name, value.left(40).constData(), kSmallestScale, kLargestScale));
}

} // namespace

void dropUnusableScaleSettings() {
    dropIfUnusable("QT_SCALE_FACTOR", isSaneScale);
    dropIfUnusable("QT_SCREEN_SCALE_FACTORS", everyEntryIsSane);
}

} // namespace app::qt
