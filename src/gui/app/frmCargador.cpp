#include "frmCargador.h"

#include "gui/romman/frmGestionar.h"

#include "engine/services/SystemServices.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Pictures.h"
#include "gui/widgets/Twips.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>

namespace zefrin {

namespace {

QFrame* makeLine(QWidget* parent, const char* name, QRect geometry)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(geometry);
    line->setStyleSheet(QStringLiteral("background-color: rgb(132, 181, 217);"));
    return line;
}

QLabel* makeHeading(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                    int pixelSize)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: white;"));
    return label;
}

QString colourRule(const QColor& colour)
{
    return QStringLiteral("background-color: %1;").arg(colour.name());
}

} // namespace

frmCargador::frmCargador(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , context_(context)
    , state_(context.state)
    , catalogueBuild_(context.state.emulator, context.state.catalogue, context.state.emulatorFolder,
                      context.state.records.gameList)
{
    setObjectName(QStringLiteral("frmCargador"));
    setWindowTitle(QStringLiteral("El Front End para M.A.M.E"));
    buildControls();
    connectControls();
}

frmCargador::~frmCargador() = default;

bool frmCargador::emulatorBusy() const
{
    return state_.emulator.isBusy() || manager_ != nullptr;
}

void frmCargador::buildControls()
{
    setAutoFillBackground(true);
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, Colours::windowBackground());
    setPalette(windowPalette);

    // Lower in the stacking order than the list: the title may reach under it.
    Label4 =
        makeHeading(this, "Label4", QStringLiteral("Zefrin!"), twipsRect(795, 120, 1725, 300), 18);
    Label5 =
        makeHeading(this, "Label5", QStringLiteral("Opciones"), twipsRect(390, 840, 1350, 210), 11);
    Label5->setAlignment(Qt::AlignCenter);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(120, 90, 600, 600));
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(twipsRect(840, 480, 1200, 300));
    Line1 = makeLine(this, "Line1", twipsRect(45, 780, 2070, 15));
    Line2 = makeLine(this, "Line2", twipsRect(45, 1920, 2070, 15));

    lstJuegos = new QListView(this);
    lstJuegos->setObjectName(QStringLiteral("lstJuegos"));
    lstJuegos->setGeometry(twipsRect(2160, 30, 4860, 2565));
    lstJuegos->setModel(&state_.catalogue);
    lstJuegos->setStyleSheet(QStringLiteral("QListView { ") +
                             colourRule(Colours::listBackground()) + QStringLiteral(" }"));
    lstJuegos->setUniformItemSizes(true);
    lstJuegos->installEventFilter(this);

    lblEstado = new QLabel(this);
    lblEstado->setObjectName(QStringLiteral("lblEstado"));
    lblEstado->setGeometry(twipsRect(2160, 2625, 4125, 255));
    lblEstado->setAutoFillBackground(true);
    setStatus(QString(), QColor(Qt::black));

    lblLog =
        makeLabelButton(this, QStringLiteral("lblLog"), QStringLiteral("Ver  Log"),
                        QStringLiteral("Si ha cargado una ROM y el MAME no ha aparecido, consulta "
                                       "el log pulsando este botón para ver el error que ha "
                                       "podido ocurrir."),
                        twipsRect(6300, 2625, 720, 255));
    lblDirectorio =
        makeLabelButton(this, QStringLiteral("lblDirectorio"), QStringLiteral("Actualizar ROMs"),
                        QStringLiteral("Si has copiado una nueva ROM en la carpeta de ROMs "
                                       "de MAME, pulsa aquí para verla en la lista."),
                        twipsRect(45, 1095, 2070, 255));
    lblLista = makeLabelButton(
        this, QStringLiteral("lblLista"), QStringLiteral("Actualizar lista de juegos"),
        QStringLiteral("Si has instalado un nuevo MAME, deberías pulsar aquí "
                       "para recoger las ROMs que el nuevo emulador acepta."),
        twipsRect(45, 1365, 2070, 255));
    lblGestionar = makeLabelButton(
        this, QStringLiteral("lblGestionar"), QStringLiteral("Gestionar  ROMs"),
        QStringLiteral("Si ves que alguna ROM ya no es compatible con la nueva versión de MAME(o "
                       "ha cambiado el nombre del juego, o ya no se ejecuta correctamente) haz "
                       "clic aquí para cambiar la ROM a la nueva versión."),
        twipsRect(45, 1635, 2070, 255));
    lblTeclas =
        makeLabelButton(this, QStringLiteral("lblTeclas"), QStringLiteral("Configurar controles"),
                        QString(), twipsRect(45, 1995, 2070, 255));

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(twipsRect(45, 2265, 2070, 255));
    chkUsaControles = new QCheckBox(QStringLiteral("Utilizar teclas definidas"), this);
    chkUsaControles->setObjectName(QStringLiteral("chkUsaControles"));
    chkUsaControles->setToolTip(QStringLiteral(
        "Marca esta casilla si quieres utilizar las terclas definidas desde el Zefrin!"));
    chkUsaControles->setGeometry(twipsRect(105, 2280, 1935, 225));
    chkUsaControles->setCursor(Qt::PointingHandCursor);
    chkUsaControles->installEventFilter(this);
    setCheckBoxColour(Colours::buttonNormal());

    // Below the bottom row: seen only when the window is made much taller.
    Label2 = makeHeading(this, "Label2", QStringLiteral("Zefrin! · el equipo de Zefrin!, 2026"),
                         twipsRect(45, 3000, 2070, 255), 10);
    Label2->setAlignment(Qt::AlignCenter);
    Label1 = makeLabelButton(this, QStringLiteral("Label1"), QStringLiteral("Clásico Acerca de"),
                             QStringLiteral("El clásico acerca de y unos consejos."),
                             twipsRect(45, 2625, 2070, 255));

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(1);
}

void frmCargador::connectControls()
{
    for (LabelButton* button : {Label1, lblDirectorio, lblGestionar, lblLista, lblLog})
        givePressedLook(button);
    connect(lblTeclas, &LabelButton::mouseDown, this, &frmCargador::lblTeclas_MouseDown);
    connect(lblTeclas, &LabelButton::mouseUp, this, &frmCargador::lblTeclas_MouseUp);

    // The list's Click comes with every change of its selection (arrow keys, typing a title's
    // first letters, a mouse dragged over the rows) and with a click on the row already chosen.
    connect(lstJuegos->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmCargador::lstJuegos_Click);
    connect(lstJuegos, &QListView::clicked, this, &frmCargador::lstJuegos_Click);
    connect(lstJuegos, &QListView::doubleClicked, this, &frmCargador::lstJuegos_DblClick);
    connect(lblDirectorio, &LabelButton::clicked, this, &frmCargador::lblDirectorio_Click);
    connect(lblLista, &LabelButton::clicked, this, &frmCargador::lblLista_Click);
    connect(&Timer1, &QTimer::timeout, this, &frmCargador::Timer1_Timer);
    connect(lblLog, &LabelButton::clicked, this, &frmCargador::lblLog_Click);
    connect(Label1, &LabelButton::clicked, this, &frmCargador::Label1_Click);
    connect(lblTeclas, &LabelButton::clicked, this, &frmCargador::lblTeclas_Click);
    connect(lblGestionar, &LabelButton::clicked, this, &frmCargador::lblGestionar_Click);
    connect(chkUsaControles, &QCheckBox::toggled, this, &frmCargador::chkUsaControles_Click);
    connect(&catalogueBuild_, &CatalogueBuild::listBeingMade, this,
            &frmCargador::showListBeingMade);
    connect(&catalogueBuild_, &CatalogueBuild::listNotMade, this, &frmCargador::showListNotMade);
    connect(&catalogueBuild_, &CatalogueBuild::built, this, &frmCargador::showCatalogue);
}

void frmCargador::setStatus(const QString& caption, const QColor& colour)
{
    statusColour_ = colour;
    lblEstado->setText(caption);
    lblEstado->setStyleSheet(QStringLiteral("QLabel { ") + colourRule(Colours::listBackground()) +
                             QStringLiteral(" color: %1; }").arg(colour.name()));
}

QString frmCargador::statusCaption() const
{
    return lblEstado->text();
}

QColor frmCargador::statusColour() const
{
    return statusColour_;
}

QColor frmCargador::keyControlsColour() const
{
    return state_.keysAvailable ? Colours::buttonNormal() : Colours::disabledGrey();
}

void frmCargador::paintKeyControls()
{
    lblTeclas->setBackColour(keyControlsColour());
    setCheckBoxColour(keyControlsColour());
}

void frmCargador::setCheckBoxColour(const QColor& colour)
{
    Shape1->setStyleSheet(colourRule(colour));
    chkUsaControles->setStyleSheet(
        QStringLiteral("QCheckBox { ") + colourRule(colour) +
        QStringLiteral(" color: black; spacing: 3px; }"
                       "QCheckBox::indicator { width: 11px; height: 11px; }"));
}

void frmCargador::lblTeclas_MouseDown()
{
    lblTeclas->setBackColour(Colours::buttonPressed());
}

void frmCargador::lblTeclas_MouseUp()
{
    lblTeclas->setBackColour(keyControlsColour());
}

void frmCargador::chkUsaControles_MouseDown()
{
    setCheckBoxColour(Colours::buttonPressed());
}

void frmCargador::chkUsaControles_MouseUp()
{
    setCheckBoxColour(keyControlsColour());
}

bool frmCargador::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == chkUsaControles) {
        // The check box has no mouse-down signal of its own; the pressed look needs one.
        const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                           type == QEvent::MouseButtonDblClick;
        const bool left = mouse && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        if (left && type != QEvent::MouseButtonRelease)
            chkUsaControles_MouseDown();
        else if (left)
            chkUsaControles_MouseUp();
        // While a game runs the box keeps its state: the launch read it once and relies on it.
        // The pressed look still shows, as on the label buttons.
        const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease ||
                         type == QEvent::ShortcutOverride;
        if (emulatorBusy() && (mouse || key))
            return true;
    } else if (watched == lstJuegos && type == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            LaunchSelectedGame();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString frmCargador::path(const QString& relative) const
{
    return emulatorPath(state_.emulatorFolder, relative);
}

} // namespace zefrin
