#pragma once
// Makes a file or folder read-only for the length of a scope, for real: root ignores the
// permission bits, so the entry is made immutable (chattr +i), which stops root as well.
// Where that is not possible the test using it is skipped.

#include <QString>

namespace zefrin::test {

class ReadOnly {
public:
    explicit ReadOnly(const QString& path);
    ~ReadOnly();
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;

    // False when the entry could not be locked; the caller skips.
    bool locked() const { return locked_; }

private:
    QString path_;
    bool locked_ = false;
};

} // namespace zefrin::test
