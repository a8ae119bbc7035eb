#include "frmHistorial.h"

#include "InfoLook.h"
#include "engine/version/ReleaseNotes.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Pictures.h"
#include "gui/widgets/Twips.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace zefrin {

namespace {

constexpr int widthTwips = 4695;
constexpr int heightTwips = 2925;

} // namespace

frmHistorial::frmHistorial(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHistorial"));
    setWindowTitle(QStringLiteral("Historial"));
    buildControls();
    connect(lblSalir, &LabelButton::clicked, this, &frmHistorial::lblSalir_Click);
}

void frmHistorial::buildControls()
{
    Lines = makeInfoWindow(this, widthTwips, heightTwips);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(75, 75, 4545, 705));
    Image1->setPixmap(marqueePicture(Image1->width(), Image1->height()));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(75, 855, 4545, 1680));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setStyleSheet(QStringLiteral("QPlainTextEdit { background-color: %1; color: black; }")
                             .arg(Colours::buttonPressed().name()));
    // The notes break their lines with CR LF; the text box breaks them at LF.
    QString notes = releaseNotes();
    notes.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1->setPlainText(notes);

    lblSalir =
        makeInfoButton(this, "lblSalir(1)", QStringLiteral("OK"), QRect(3975, 2565, 630, 255));
}

void frmHistorial::lblSalir_Click()
{
    accept();
}

} // namespace zefrin
