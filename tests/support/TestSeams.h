#pragma once
// Scripted stand-ins for the places where the program meets the person and the desktop.

#include "gui/widgets/Seams.h"

#include <QList>
#include <QStringList>

namespace zefrin::test {

struct ShownMessage {
    Dialogs::Icon icon;
    QString title;
    QString text;
    bool yesNo = false;
    bool longText = false; // shown in the scrolling viewer
};

class RecordingDialogs final : public Dialogs {
public:
    void message(QWidget* parent, Icon icon, const QString& title, const QString& text) override;
    bool askYesNo(QWidget* parent, Icon icon, const QString& title, const QString& text) override;
    void showLongText(QWidget* parent, const QString& title, const QString& heading,
                      const QByteArray& log) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& start) override;

    QList<ShownMessage> shown;
    QList<bool> answers;       // consumed in order by askYesNo; "No" once they run out
    QStringList chosenFolders; // consumed in order by chooseFolder; cancelled once they run out
    QStringList chooserStarts; // where each chooser opened
};

class RecordingDesktop final : public Desktop {
public:
    bool openFile(const QString& path) override;
    bool openUrl(const QUrl& url) override;

    QStringList openedFiles;
    QList<QUrl> openedUrls;
    bool succeed = true;
};

class RecordingExit final : public ProgramExit {
public:
    void endProgram() override { ended = true; }
    bool hasEnded() const override { return ended; }

    bool ended = false;
};

} // namespace zefrin::test
