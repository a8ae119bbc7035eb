#pragma once
// The three places where the program meets the person or the desktop directly. The real
// implementations show message boxes, open the desktop's editor or browser and end the
// program; tests put scripted ones in their place.

#include <QString>
#include <QUrl>

class QWidget;

namespace zefrin {

class Dialogs {
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };

    virtual ~Dialogs() = default;
    // A box with an OK button.
    virtual void message(QWidget* parent, Icon icon, const QString& title, const QString& text) = 0;
    // A box with Yes and No buttons; true for Yes.
    virtual bool askYesNo(QWidget* parent, Icon icon, const QString& title,
                          const QString& text) = 0;
    // A log too long for a message box (the heading's lines, then the log's: launch/
    // LaunchLog.h), in a scrolling read-only viewer with an OK button. Without a viewer of
    // its own a seam shows it as a message.
    virtual void showLongText(QWidget* parent, const QString& title, const QString& heading,
                              const QByteArray& log);
    // A folder chooser opened at `start`; the folder chosen, or empty when cancelled. Without
    // a chooser of its own a seam answers as cancelled.
    virtual QString chooseFolder(QWidget* parent, const QString& title, const QString& start);
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // Both return false when nothing could be started to show the file or page.
    virtual bool openFile(const QString& path) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
};

class ProgramExit {
public:
    virtual ~ProgramExit() = default;
    // Ends the program at once: no closing steps run. The caller returns right after.
    virtual void endProgram() = 0;
    virtual bool hasEnded() const = 0;
};

class MessageBoxDialogs final : public Dialogs {
public:
    void message(QWidget* parent, Icon icon, const QString& title, const QString& text) override;
    bool askYesNo(QWidget* parent, Icon icon, const QString& title, const QString& text) override;
    void showLongText(QWidget* parent, const QString& title, const QString& heading,
                      const QByteArray& log) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& start) override;
};

class SystemDesktop final : public Desktop {
public:
    bool openFile(const QString& path) override;
    bool openUrl(const QUrl& url) override;
};

class ApplicationExit final : public ProgramExit {
public:
    void endProgram() override;
    bool hasEnded() const override { return ended_; }

private:
    bool ended_ = false;
};

} // namespace zefrin
