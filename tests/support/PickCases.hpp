// The colours the end-to-end tests pick in a real chooser, with the texts each must give: the
// corners of the range and the two published mid-range examples.
#pragma once

#include "../ColorCases.hpp"

#include <QColor>
#include <QTest>

namespace support {

inline void addPickRows() {
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("hud");
    for (const cases::Example& example : cases::kExamples) {
        const QString name = QString::fromLatin1(example.name);
        if (name == "purple" || name == "dark blue" || name == "black" || name == "white") {
            const color::ColorValue value = example.value;
            QTest::newRow(example.name)
                << QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF)
                << QString::fromLatin1(example.menu) << QString::fromLatin1(example.hud);
        }
    }
}

} // namespace support
