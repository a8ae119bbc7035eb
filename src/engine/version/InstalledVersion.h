#pragma once
// The installed emulator's version as a value: the text read (the release notes' first line or
// the emulator's answer to "-version") or unknown, when none could be read.

#include <QString>

#include <optional>

namespace zefrin {

class InstalledVersion {
public:
    // Unknown.
    InstalledVersion() = default;
    explicit InstalledVersion(QString text)
        : text_(std::move(text))
    {
    }

    bool isKnown() const { return text_.has_value(); }
    // The version as read, spaces kept; empty when unknown.
    QString text() const { return text_.value_or(QString()); }
    // What the user is shown for it: the text, or "(Versión de M.A.M.E desconocida)".
    QString shown() const;

    friend bool operator==(const InstalledVersion& a, const InstalledVersion& b)
    {
        return a.text_ == b.text_;
    }
    friend bool operator!=(const InstalledVersion& a, const InstalledVersion& b)
    {
        return !(a == b);
    }

private:
    std::optional<QString> text_;
};

} // namespace zefrin
