#include "frmGestionar.h"

#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>

namespace zefrin {

namespace {

// The list of archives is written a size larger than the rest of the window.
constexpr int archiveListPixelSize = 13;

QFont textFont(bool bold)
{
    QFont font = windowFont();
    font.setBold(bold);
    return font;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(textFont(true));
    label->setStyleSheet(QStringLiteral("color: white;"));
    return label;
}

// A label whose width follows its text; only its corner is designed.
QLabel* makeValueLabel(QWidget* parent, const char* name, int left, int top)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    // File names and titles are shown as they are, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->move(pixels(left), pixels(top));
    label->setFont(textFont(false));
    label->setStyleSheet(QStringLiteral("color: %1;").arg(Colours::statusTeal().name()));
    label->adjustSize();
    return label;
}

LabelButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& toolTip, QRect geometry)
{
    LabelButton* button = makeLabelButton(parent, QLatin1String(name), caption, toolTip, geometry);
    button->setFont(textFont(false));
    return button;
}

QListWidget* makeList(QWidget* parent, const char* name, QRect geometry, int pixelSize)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setGeometry(geometry);
    QFont font = textFont(false);
    font.setPixelSize(pixelSize);
    list->setFont(font);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setStyleSheet(QStringLiteral("QListWidget { background-color: %1; color: black; }")
                            .arg(Colours::listBackground().name()));
    return list;
}

QFrame* makeLine(QWidget* parent, int index, QRect geometry)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line%1").arg(index));
    line->setGeometry(geometry);
    line->setStyleSheet(
        QStringLiteral("background-color: %1;").arg(Colours::buttonNormal().name()));
    return line;
}

} // namespace

frmGestionar::frmGestionar(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , state_(context.state)
    , listMaker_(state_.emulator, state_.emulatorFolder, state_.records.gameList)
    , checker_(state_.emulator, state_.emulatorFolder, state_.records.pendingRename, state_.dialect,
               state_.scratch.path())
    , search_(checker_, listMaker_, state_.emulator, state_.emulatorFolder, state_.records.crcList)
    , update_(checker_)
    , reports_(state_.emulator, state_.emulatorFolder, state_.scratch.path(), state_.dialect)
{
    setObjectName(QStringLiteral("frmGestionar"));
    setWindowTitle(QString());
    setModal(true);
    buildControls();
    connectControls();
}

frmGestionar::~frmGestionar() = default;

void frmGestionar::buildControls()
{
    setAutoFillBackground(true);
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, Colours::windowBackground());
    setPalette(windowPalette);
    setFont(textFont(false));

    buildLines();
    Label2 =
        makeLabel(this, "Label2", QStringLiteral("Carpeta ROMs"), twipsRect(525, 90, 1260, 195));
    Label1 =
        makeLabel(this, "Label1", QStringLiteral("ROMs soportadas por esta versión de M.A.M.E"),
                  twipsRect(3750, 90, 3990, 195));
    ROMs = makeList(this, "ROMs", twipsRect(105, 315, 2175, 3150), archiveListPixelSize);
    lstJuegos =
        makeList(this, "lstJuegos", twipsRect(2325, 315, 7125, 3150), windowFont().pixelSize());

    Label3 = makeLabel(this, "Label3", QStringLiteral("Titulo para el archivo:"),
                       twipsRect(795, 3555, 1995, 195));
    lblTitulo = makeValueLabel(this, "lblTitulo", 2730, 3555);
    lblContiene =
        makeButton(this, "lblContiene", QStringLiteral("Detalles"),
                   QStringLiteral("Detalles del archivo .zip"), twipsRect(105, 3525, 705, 255));
    Label5 = makeLabel(this, "Label5", QStringLiteral("Nombre de la ROM seleccionada:"),
                       twipsRect(795, 3840, 2985, 195));
    lblArchivo = makeValueLabel(this, "lblArchivo", 3705, 3840);
    lblArchivosJuego = makeButton(this, "lblArchivosJuego", QStringLiteral("Detalles"),
                                  QStringLiteral("Detalles del juego seleccionado"),
                                  twipsRect(105, 3810, 705, 255));
    lblBuscar = makeButton(this, "lblBuscar", QStringLiteral("Buscar ROM compatible"),
                           QStringLiteral("Busca un juego emulable compatible para el archivo "
                                          "seleccionado, entre todos los juegos emulables de "
                                          "M.A.M.E"),
                           twipsRect(105, 4140, 2070, 255));
    lblCompara = makeButton(this, "lblCompara", QStringLiteral("Comparar ROMs"),
                            QStringLiteral("Compara el archivo seleccionado con el juego para ver "
                                           "si son compatibles"),
                            twipsRect(2190, 4140, 2070, 255));
    lblActualizar = makeButton(this, "lblActualizar", QStringLiteral("Actualizar ROM"),
                               QStringLiteral("Cambiar el archivo seleccionado al archivo para el "
                                              "juego seleccionado."),
                               twipsRect(4275, 4140, 2070, 255));
    lblSalir = makeButton(this, "lblSalir(1)", QStringLiteral("Salir"),
                          QStringLiteral("Pues, salir, que otra cosa puede ser."),
                          twipsRect(8820, 4140, 630, 255));
    lblSalir->setFont(textFont(true));

    buildStatusPanel();
}

void frmGestionar::buildStatusPanel()
{
    // Over the game list, shown only while a search runs.
    Estado = new QFrame(this);
    Estado->setObjectName(QStringLiteral("Estado"));
    Estado->setFrameShape(QFrame::NoFrame);
    Estado->setGeometry(twipsRect(3015, 1005, 3780, 1650));
    Estado->setAutoFillBackground(true);
    Estado->hide();

    Line[4] = makeLine(Estado, 5, twipsRect(0, 0, 3780, 15));
    Line[5] = makeLine(Estado, 6, twipsRect(0, 1635, 3780, 15));
    Line[6] = makeLine(Estado, 7, twipsRect(0, 0, 15, 1650));
    Line[7] = makeLine(Estado, 8, twipsRect(3765, 0, 15, 1650));

    Label4 = makeLabel(Estado, "Label4", QStringLiteral("Número de ROMs emuladas:"),
                       twipsRect(330, 195, 2445, 195));
    lblTotal = makeValueLabel(Estado, "lblTotal", 2955, 210);
    Label7 = makeLabel(Estado, "Label7", analysedCaption(), twipsRect(330, 480, 2565, 195));
    lblActual = makeValueLabel(Estado, "lblActual", 2955, 495);
    Label9 =
        makeLabel(Estado, "Label9", QStringLiteral("Progreso:"), twipsRect(330, 795, 855, 195));
    progreso = new QProgressBar(Estado);
    progreso->setObjectName(QStringLiteral("progreso"));
    progreso->setGeometry(twipsRect(1260, 795, 2175, 210));
    progreso->setTextVisible(false);
    progreso->setRange(1, 1);
    lblCancelar = makeButton(Estado, "lblCancelar", QStringLiteral("Cancelar"),
                             QStringLiteral("Cancelar el proceso de búsqueda"),
                             twipsRect(1335, 1260, 975, 255));
}

void frmGestionar::buildLines()
{
    // Under the two headings, between the lists and the details, above the command row.
    Line[0] = makeLine(this, 1, twipsRect(525, 285, 1260, 15));
    Line[1] = makeLine(this, 2, twipsRect(3750, 285, 3990, 15));
    Line[2] = makeLine(this, 3, twipsRect(105, 3495, 9345, 15));
    Line[3] = makeLine(this, 4, twipsRect(105, 4110, 9345, 15));
}

void frmGestionar::connectControls()
{
    for (LabelButton* button : {lblActualizar, lblCancelar, lblSalir})
        givePressedLook(button);

    // A list's Click comes with every change of its selection, by mouse or keyboard, and with
    // a click on the entry already selected.
    connect(ROMs, &QListWidget::currentRowChanged, this, &frmGestionar::ROMs_Click);
    connect(ROMs, &QListWidget::itemClicked, this, &frmGestionar::ROMs_Click);
    connect(lstJuegos, &QListWidget::currentRowChanged, this, &frmGestionar::lstJuegos_Click);
    connect(lstJuegos, &QListWidget::itemClicked, this, &frmGestionar::lstJuegos_Click);
    connect(ROMs, &QListWidget::itemSelectionChanged, this, &frmGestionar::romSelectionChanged);

    connect(lblSalir, &LabelButton::clicked, this, &frmGestionar::lblSalir_Click);
    connect(lblBuscar, &LabelButton::clicked, this, &frmGestionar::lblBuscar_Click);
    connect(lblCancelar, &LabelButton::clicked, this, &frmGestionar::lblCancelar_Click);
    connect(lblCompara, &LabelButton::clicked, this, &frmGestionar::lblCompara_Click);
    connect(lblActualizar, &LabelButton::clicked, this, &frmGestionar::lblActualizar_Click);
    connect(lblArchivosJuego, &LabelButton::clicked, this, &frmGestionar::lblArchivosJuego_Click);
    connect(lblContiene, &LabelButton::clicked, this, &frmGestionar::lblContiene_Click);
    connect(&search_, &CompatibilitySearch::gameListMade, this, &frmGestionar::searchListMade);
    connect(&search_, &CompatibilitySearch::counted, this, &frmGestionar::showCounter);
    connect(&search_, &CompatibilitySearch::crcListProgressed, this,
            &frmGestionar::showListProgress);
    connect(&search_, &CompatibilitySearch::earlierRunAwaited, this, &frmGestionar::showEarlierRun);
    connect(&search_, &CompatibilitySearch::crcListEnded, this, &frmGestionar::crcListEnded);
    connect(&search_, &CompatibilitySearch::ended, this, &frmGestionar::searchEnded);
    connect(&update_, &RomUpdate::ended, this, &frmGestionar::updateEnded);
    connect(&reports_, &ReportMaker::made, this, &frmGestionar::reportMade);
}

} // namespace zefrin
