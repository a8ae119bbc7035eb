#include "Seams.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QListView>
#include <QMessageBox>
#include <QScreen>
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

// The lines of a text for a list view: where each line starts and ends is found once, and a
// line's characters are copied only when the line is drawn.
class TextLinesModel final : public QAbstractListModel {
public:
    TextLinesModel(const QString& text, const QFontMetrics& metrics, QObject* parent)
        : QAbstractListModel(parent)
        , text_(text)
    {
        indexLines();
        // Every line gets the size of the widest, so the view scrolls far enough sideways.
        lineSize_ = QSize(metrics.horizontalAdvance(QLatin1Char('M')) * widestShown(),
                          metrics.lineSpacing());
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(starts_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::SizeHintRole)
            return lineSize_;
        if (role != Qt::DisplayRole)
            return {};
        const auto row = static_cast<std::size_t>(index.row());
        return text_.mid(starts_[row], ends_[row] - starts_[row]);
    }

private:
    // A line of a million characters is not read across anyway; the width stays countable.
    int widestShown() const { return static_cast<int>(std::min<qsizetype>(longest_ + 1, 1000000)); }

    // Lines end at CR LF, LF or CR; a line end at the very end starts no further line.
    void indexLines()
    {
        const qsizetype size = text_.size();
        qsizetype start = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const QChar c = text_.at(i);
            if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
                continue;
            addLine(start, i);
            if (c == QLatin1Char('\r') && i + 1 < size && text_.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
        if (start < size)
            addLine(start, size);
    }

    void addLine(qsizetype start, qsizetype end)
    {
        starts_.push_back(start);
        ends_.push_back(end);
        longest_ = std::max(longest_, end - start);
    }

    const QString text_;
    std::vector<qsizetype> starts_;
    std::vector<qsizetype> ends_;
    qsizetype longest_ = 0;
    QSize lineSize_;
};

} // namespace

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

void MessageBoxDialogs::showLongText(QWidget* parent, const QString& title, const QString& text)
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
    auto* lines = new TextLinesModel(text, QFontMetrics(view->font()), view);
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
