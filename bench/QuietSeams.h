#pragma once
// The person, the desktop and the program end for benchmarks: questions get one fixed answer,
// nothing opens, nothing ends the run.

#include "gui/widgets/Seams.h"

namespace zefrin::bench {

// Answers every question with `answer` and keeps the last message.
class AnsweringDialogs final : public Dialogs {
public:
    explicit AnsweringDialogs(bool answer)
        : answer_(answer)
    {
    }
    void message(QWidget*, Icon, const QString& title, const QString& text) override
    {
        lastTitle = title;
        lastText = text;
    }
    bool askYesNo(QWidget*, Icon, const QString&, const QString&) override { return answer_; }

    QString lastTitle;
    QString lastText;

private:
    bool answer_;
};

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
