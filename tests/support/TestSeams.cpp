#include "TestSeams.h"

#include "engine/services/TextFile.h"

#include <QFile>

namespace zefrin::test {

void RecordingDialogs::message(QWidget*, Icon icon, const QString& title, const QString& text)
{
    shown.append({icon, title, text, false});
}

bool RecordingDialogs::askYesNo(QWidget*, Icon icon, const QString& title, const QString& text)
{
    shown.append({icon, title, text, true});
    return answers.isEmpty() ? false : answers.takeFirst();
}

void RecordingDialogs::showLongText(QWidget*, const QString& title, const QString& heading,
                                    const QByteArray& log)
{
    shown.append({Icon::None, title, heading + decodeSystemText(log), false, true});
}

QString RecordingDialogs::chooseFolder(QWidget*, const QString&, const QString& start)
{
    chooserStarts.append(start);
    return chosenFolders.isEmpty() ? QString() : chosenFolders.takeFirst();
}

bool RecordingDesktop::openFile(const QString& path)
{
    // The editor would read the file later; keep its content for the test to look at.
    openedFiles.append(path);
    return succeed;
}

bool RecordingDesktop::openUrl(const QUrl& url)
{
    openedUrls.append(url);
    return succeed;
}

} // namespace zefrin::test
