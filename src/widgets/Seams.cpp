#include "Seams.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>

namespace zefrin {

namespace {

QMessageBox::Icon boxIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void MessageBoxDialogs::message(QWidget* parent, Icon icon, const QString& title,
                                const QString& text)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool MessageBoxDialogs::askYesNo(QWidget* parent, Icon icon, const QString& title,
                                 const QString& text)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

bool SystemDesktop::openFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool SystemDesktop::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

void ApplicationExit::endProgram()
{
    ended_ = true;
    // Before the event loop runs this does nothing; main() looks at hasEnded() instead.
    QCoreApplication::exit(0);
}

} // namespace zefrin
