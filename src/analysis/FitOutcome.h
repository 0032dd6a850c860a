#pragma once

#include <QString>

#include <optional>
#include <variant>

namespace quorvane::analysis {

// A fit's result, or the reason there is none.
template <typename T> class FitOutcome {
public:
    FitOutcome(T value) : m_value(std::move(value)) {}
    static FitOutcome failed(QString reason) { return FitOutcome(std::move(reason), 0); }

    explicit operator bool() const { return m_value.has_value(); }
    const T& operator*() const { return *m_value; }
    const T* operator->() const { return &*m_value; }
    const QString& reason() const { return m_reason; }

private:
    FitOutcome(QString reason, int) : m_reason(std::move(reason)) {}
    std::optional<T> m_value;
    QString m_reason;
};

} // namespace quorvane::analysis
