#include "frmAcercaDe.h"

#include "InfoLook.h"
#include "LinkLabel.h"
#include "engine/version/ReleaseNotes.h"
#include "frmHistorial.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Pictures.h"
#include "gui/widgets/Seams.h"
#include "gui/widgets/Twips.h"

#include <QLabel>

namespace zefrin {

namespace {

constexpr int widthTwips = 5520;
constexpr int heightTwips = 3255;

LinkLabel* makeLink(QWidget* parent, const char* name, const QUrl& url, QPoint placeTwips)
{
    auto* link = new LinkLabel(url.host(), parent);
    link->setObjectName(QLatin1String(name));
    link->setToolTip(url.toString());
    link->move(pixels(placeTwips.x()), pixels(placeTwips.y()));
    link->adjustSize();
    return link;
}

} // namespace

frmAcercaDe::frmAcercaDe(Dialogs& dialogs, Desktop& desktop, QWidget* parent)
    : QDialog(parent)
    , dialogs_(dialogs)
    , desktop_(desktop)
{
    setObjectName(QStringLiteral("frmAcercaDe"));
    setWindowTitle(QStringLiteral("Acerca de...  ¡El Zefrin!"));
    buildControls();
    connectControls();
}

void frmAcercaDe::buildControls()
{
    Lines = makeInfoWindow(this, widthTwips, heightTwips);
    const QColor white(Qt::white);
    const QColor teal = Colours::statusTeal();

    Label5 = makeCaption(this, "Label5", QStringLiteral("Acerca de...  ¡El Zefrin!"),
                         QPoint(1440, 75), white);
    QFont titleFont = Label5->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(13);
    Label5->setFont(titleFont);
    Label5->adjustSize();

    Label1 = makeCaption(this, "Label1", QStringLiteral("Versión:"), QPoint(150, 375), white);
    Label6 = makeCaption(this, "Label6", programVersion(), QPoint(360, 675), teal);
    Label2 = makeCaption(this, "Label2", QStringLiteral("Creado por:"), QPoint(135, 975), white);
    Label3 = makeCaption(this, "Label3", QStringLiteral("El equipo de desarrollo de Zefrin!"),
                         QPoint(330, 1275), teal);
    Label4 = makeCaption(this, "Label4", QStringLiteral("Páginas de interés:"), QPoint(135, 1590),
                         white);
    lblMame = makeLink(this, "lblMame", officialPageUrl(), QPoint(330, 1875));
    Label10 = makeCaption(this, "Label10", QStringLiteral("Página oficial (inglés)"),
                          QPoint(1500, 1875), white);
    lblEnlaceRoms = makeLink(this, "lblEnlaceRoms", romsPageUrl(), QPoint(330, 2130));
    Label12 = makeCaption(this, "Label12", QStringLiteral("Página multitud de ROMs (Español)"),
                          QPoint(2550, 2145), white);

    lblSalir[0] = makeInfoButton(this, "lblSalir(0)", QStringLiteral("Notas de las versiones"),
                                 QRect(2445, 2865, 2280, 255));
    lblSalir[1] =
        makeInfoButton(this, "lblSalir(1)", QStringLiteral("OK"), QRect(4755, 2865, 630, 255));

    Imagen = new QLabel(this);
    Imagen->setObjectName(QStringLiteral("Imagen"));
    Imagen->setGeometry(twipsRect(3960, 420, 1200, 1200));
    Imagen->setPixmap(joystickPicture(Imagen->height()));
}

void frmAcercaDe::connectControls()
{
    connect(lblMame, &LinkLabel::clicked, this, &frmAcercaDe::lblMame_Click);
    connect(lblEnlaceRoms, &LinkLabel::clicked, this, &frmAcercaDe::lblEnlaceRoms_Click);
    connect(lblSalir[0], &LabelButton::clicked, this, [this] { lblSalir_Click(0); });
    connect(lblSalir[1], &LabelButton::clicked, this, [this] { lblSalir_Click(1); });
}

void frmAcercaDe::lblMame_Click()
{
    followLink(officialPageUrl());
}

void frmAcercaDe::lblEnlaceRoms_Click()
{
    followLink(romsPageUrl());
}

void frmAcercaDe::followLink(const QUrl& url)
{
    // Every click asks the browser anew, as a new window or tab of it.
    if (desktop_.openUrl(url))
        return;
    dialogs_.message(this, Dialogs::Icon::Exclamation, QStringLiteral("Error."),
                     QStringLiteral("No se ha podido abrir el navegador de Internet para visitar "
                                    "la página '%1'. Comprueba que tienes un navegador "
                                    "predeterminado, o copia la dirección y ábrela a mano.")
                         .arg(url.toString()));
}

void frmAcercaDe::lblSalir_Click(int index)
{
    if (index == 1) {
        accept();
        return;
    }
    // Window-modal over this window, which takes no input until the notes are closed.
    if (auto* shown = findChild<frmHistorial*>(QString(), Qt::FindDirectChildrenOnly);
        shown && shown->isVisible()) {
        shown->activateWindow();
        return;
    }
    auto* notes = new frmHistorial(this);
    notes->setAttribute(Qt::WA_DeleteOnClose);
    notes->open();
}

} // namespace zefrin
