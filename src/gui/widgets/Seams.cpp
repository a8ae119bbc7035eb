#include "Seams.h"

#include "engine/launch/LaunchLog.h"
#include "engine/services/TextFile.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QListView>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

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

// The lines of a log for a list view: the heading's lines, then the log's, each decoded only
// when it is drawn.
class LogLinesModel final : public QAbstractListModel {
public:
    LogLinesModel(const QString& heading, const QByteArray& log, const QFontMetrics& metrics,
                  QObject* parent)
        : QAbstractListModel(parent)
        , lines_(log)
    {
        // The heading ends with a line end, which starts no further line.
        if (!heading.isEmpty())
            heading_ = heading.chopped(heading.endsWith(QStringLiteral("\r\n")) ? 2 : 0)
                           .split(QStringLiteral("\r\n"));
        qsizetype widest = lines_.widest();
        for (QString& line : heading_) {
            if (line.size() > LogLines::longestShown) // a title may be megabytes long
                line = line.left(LogLines::longestShown) + QChar(0x2026);
            widest = std::max(widest, line.size());
        }
        // Every line gets the size of the widest shown, so the view scrolls far enough
        // sideways.
        lineSize_ =
            QSize(metrics.horizontalAdvance(QLatin1Char('M')) * static_cast<int>(widest + 1),
                  metrics.lineSpacing());
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(heading_.size() + lines_.count());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::SizeHintRole)
            return lineSize_;
        if (role != Qt::DisplayRole)
            return {};
        const qsizetype row = index.row();
        return row < heading_.size() ? heading_.at(row) : lines_.line(row - heading_.size());
    }

private:
    QStringList heading_;
    const LogLines lines_;
    QSize lineSize_;
};

} // namespace

void Dialogs::showLongText(QWidget* parent, const QString& title, const QString& heading,
                           const QByteArray& log)
{
    message(parent, Icon::None, title, heading + decodeSystemText(log));
}

QString Dialogs::chooseFolder(QWidget*, const QString&, const QString&)
{
    return QString();
}

void MessageBoxDialogs::message(QWidget* parent, Icon icon, const QString& title,
                                const QString& text)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    // Texts carry file names and emulator output: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool MessageBoxDialogs::askYesNo(QWidget* parent, Icon icon, const QString& title,
                                 const QString& text)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxDialogs::showLongText(QWidget* parent, const QString& title, const QString& heading,
                                     const QByteArray& log)
{
    QDialog viewer(parent);
    viewer.setWindowTitle(title);
    auto* view = new QListView(&viewer);
    // Lines of the same height let the view lay out only what is on screen: a text of a
    // million lines opens as fast as a short one.
    view->setUniformItemSizes(true);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->setTextElideMode(Qt::ElideNone);
    view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* lines = new LogLinesModel(heading, log, QFontMetrics(view->font()), view);
    view->setModel(lines);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &viewer);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &viewer, &QDialog::accept);
    auto* layout = new QVBoxLayout(&viewer);
    layout->addWidget(view);
    layout->addWidget(buttons);
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        viewer.resize(screen->availableGeometry().size() * 2 / 3);
    viewer.exec();
}

QString MessageBoxDialogs::chooseFolder(QWidget* parent, const QString& title, const QString& start)
{
    // Qt's chooser keeps what it showed last (folders visited, its layout) in the user's
    // settings when it closes. The folder is asked once and a cancelled start leaves nothing
    // behind, so that state goes to a throwaway folder. Settings objects made before, such as
    // the one that remembers the folder, keep their place.
    const QTemporaryDir chooserState;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, chooserState.path());
    // Qt's own chooser speaks the interface's Spanish; the desktop's would speak its own
    // language.
    const QString folder = QFileDialog::getExistingDirectory(
        parent, title, start, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    return folder;
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
