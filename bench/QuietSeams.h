#pragma once
// The desktop and program end for benchmarks: nothing opens, nothing ends the run.

#include "gui/widgets/Seams.h"

namespace zefrin::bench {

class NoDesktop final : public Desktop {
public:
    bool openFile(const QString&) override { return false; }
    bool openUrl(const QUrl&) override { return false; }
};

class RecordedExit final : public ProgramExit {
public:
    void endProgram() override { ended_ = true; }
    bool hasEnded() const override { return ended_; }

private:
    bool ended_ = false;
};

} // namespace zefrin::bench
