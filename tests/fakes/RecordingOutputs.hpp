// The window's three outputs as plain values, with a log of every write in order.
#pragma once

#include "window/ConverterOutputs.hpp"

#include <QString>
#include <QStringList>

namespace fakes {

class RecordingOutputs final : public window::ConverterOutputs {
public:
    void replaceText1(std::string_view text) override {
        text1 = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        writes << QStringLiteral("Text1");
    }
    void replaceText2(std::string_view text) override {
        text2 = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        writes << QStringLiteral("Text2");
    }
    void setShape1FillColor(color::ColorValue value) override {
        fill = value;
        writes << QStringLiteral("Shape1");
    }

    QString text1;
    QString text2;
    color::ColorValue fill = 0;
    QStringList writes;
};

} // namespace fakes
