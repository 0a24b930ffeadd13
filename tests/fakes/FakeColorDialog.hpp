// A scripted colour chooser for tests: each showColor() takes the next scripted outcome, and a
// failure can be planted at any colour read. Every call is logged in order.
#pragma once

#include "window/ColorDialog.hpp"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <stdexcept>

namespace fakes {

// Something that is not a std::exception, as a misbehaving component might throw.
struct ForeignFailure {
    int code;
};

class FakeColorDialog final : public window::ColorDialog {
public:
    enum class Failure { StdException, ForeignType };

    void scriptConfirm(color::ColorValue value) { m_script.push_back(Step{value, false}); }
    void scriptCancel() { m_script.push_back(Step{std::nullopt, false}); }
    void scriptShowFailure() { m_script.push_back(Step{std::nullopt, true}); }
    // The n-th color() read from now on (counting from 1) throws.
    void plantReadFailure(int n, Failure kind = Failure::StdException) {
        m_failAtRead = m_reads + n;
        m_failureKind = kind;
    }

    void setCancelError(bool raise) override {
        m_cancelError = raise;
        m_calls << QStringLiteral("setCancelError(%1)").arg(raise ? "true" : "false");
    }

    void showColor() override {
        m_calls << QStringLiteral("showColor");
        if (m_script.empty()) {
            throw std::logic_error("FakeColorDialog: showColor() without a scripted outcome");
        }
        const Step step = m_script.front();
        m_script.pop_front();
        if (step.failAtShow) {
            throw window::DialogError("scripted failure at show");
        }
        if (step.confirmed) {
            m_color = *step.confirmed;
        } else if (m_cancelError) {
            throw window::CancelError();
        }
    }

    [[nodiscard]] color::ColorValue color() const override {
        ++m_reads;
        m_calls << QStringLiteral("color");
        if (m_failAtRead && m_reads == *m_failAtRead) {
            m_failAtRead.reset();
            if (m_failureKind == Failure::ForeignType) {
                throw ForeignFailure{m_reads};
            }
            throw std::runtime_error("scripted failure at a colour read");
        }
        return m_color;
    }

    [[nodiscard]] int reads() const { return m_reads; }
    [[nodiscard]] const QStringList& calls() const { return m_calls; }

private:
    struct Step {
        std::optional<color::ColorValue> confirmed;
        bool failAtShow;
    };

    std::deque<Step> m_script;
    bool m_cancelError = false;
    color::ColorValue m_color = 0;
    mutable int m_reads = 0;
    mutable std::optional<int> m_failAtRead;
    Failure m_failureKind = Failure::StdException;
    mutable QStringList m_calls;
};

} // namespace fakes
