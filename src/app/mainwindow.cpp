#include "app/mainwindow.h"

#include "ui_mainwindow.h"

#include "app/core/settingsstore.h"
#include "app/language/languageloader.h"
#include "app/pagecontrollers.h"
#include "discovery/localaddress.h"
#include "icons/boxwarticons.h"
#include "widgets/controls.h"
#include "widgets/hintstyle.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileSystemModel>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>

namespace {

const QString SupportSite = QStringLiteral("https://boxwart.example.org/");
const QString BootManagerHelp = QStringLiteral("https://boxwart.example.org/anleitung/ger/html/softup-html.html");
const QString ImageFilter = QStringLiteral("Imagefiles (*.img)|*.img|Binfile (*.bin)|*.bin");

enum Page { UploadPage, BackupPage, TftpPage, ConsolePage, TimerPage, DiskPage, SetupPage };

const QString WindowStyle = QStringLiteral(
    "#TForm1, #centralwidget { background: #FFFBF0; }"
    "#TabSheet1, #Backup, #TabSheet2, #TabSheet4, #TabSheet5, #TabSheet6, #TabSheet3 { background: #F7F6F5; }"
    "QTabWidget::pane { border: 1px solid #A0A0A0; background: #F7F6F5; top: -1px; }"
    "QTabBar::tab { height: 19px; padding: 0px 5px; background: #E8E6E1; border: 1px solid #A0A0A0;"
    " border-bottom: none; margin-right: 1px; border-top-left-radius: 3px; border-top-right-radius: 3px; }"
    "QTabBar::tab:selected { background: #F7F6F5; }"
    "QTabBar::tab:hover { background: #FFC73C; }"
    "QPushButton { background: #F4F4F0; border: 1px solid #8C8C8C; border-radius: 2px; padding: 3px 6px;"
    " min-height: 17px; }"
    "QPushButton:hover { border: 1px solid #FFC73C; }"
    "QPushButton:focus { border: 1px solid #6A8DF4; }"
    "QPushButton:pressed { background: #6A8DF4; color: white; }"
    "QPushButton:disabled { color: #A0A0A0; }"
    "QPushButton#RzButton1 { background: #FF8080; }"
    "QPushButton#RzButton4 { background: #C0DCC0; }"
    "QLabel#rzd1 { background: #0000C0; color: white; }"
    "QToolTip { background: #FFFFE1; color: black; border: 1px solid #767676; padding: 2px; }");

} // namespace

TForm1::TForm1(const AppOptions &options, QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TForm1>())
    , m_options(options)
{
    ui->setupUi(this);
    applyStyle();
    setUpControls();
    setUpStatusBar();
    setUpGroupBar();

    connect(ui->RzPageControl1, &QTabWidget::currentChanged, this, &TForm1::RzPageControl1Change);
    connect(ui->Beenden1, &QAction::triggered, this, &QWidget::close);
    connect(ui->RzButton3, &QPushButton::clicked, this, &TForm1::RzButton3Click);

    attachPageControllers(this, m_state, m_options);
    FormCreate();
    FormResize();
}

TForm1::~TForm1() = default;

void TForm1::applyStyle()
{
    HintStyle::install();
    QFont windowFont(QStringLiteral("MS Sans Serif"), 8);
    windowFont.setStyleHint(QFont::SansSerif);
    setFont(windowFont);
    setStyleSheet(WindowStyle);
    setWindowIcon(BoxwartIcons::programIcon());
    resize(designSize);
    setMinimumSize(designSize);
}

void TForm1::setUpControls()
{
    ui->RzRadioGroup1->setColumns(2);
    ui->RzRadioGroup1->addItem(QStringLiteral("mtd4 is standard -  for other selction press MTD-Read"));
    ui->RzRadioGroup1->setCheckedIndex(0);
    ui->LMDFileOpenEdit1->setFilter(ImageFilter);
    ui->LMDFileOpenEdit2->setFilter(ImageFilter);

    ui->ComLed3->setColor(Qt::green);
    ui->ComLed1->setColor(Qt::red);
    ui->ComLed2->setColor(Qt::red);
    ui->RzLabel8->setBlinking(true);
    ui->RzURLLabel2->setUrl(BootManagerHelp);
    ui->RzTimePicker1->setFaceColor(QColor(0xC0, 0xDC, 0xC0));
    ui->RzTimePicker2->setFaceColor(QColor(0xFF, 0x80, 0x80));

    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    ui->rzt1->setFont(courier);

    // The channel list stays sorted however its entries arrive.
    QAbstractItemModel *channels = ui->RzComboBox3->model();
    connect(channels, &QAbstractItemModel::rowsInserted, this, [channels] { channels->sort(0); });

    auto *popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    auto *remove = popup->addAction(QStringLiteral("Löschen"));
    remove->setObjectName(QStringLiteral("Lschen1"));
    auto *removeAll = popup->addAction(QStringLiteral("Alles löschen"));
    removeAll->setObjectName(QStringLiteral("Alleslschen1"));
    connect(ui->ListBox2, &QWidget::customContextMenuRequested, this, &TForm1::ListBox2ContextMenu);

    // The PC side of the disk page: the file list shows the folder chosen in the tree.
    auto *files = new QFileSystemModel(ui->RzShellList1);
    files->setRootPath(QDir::homePath());
    ui->RzShellList1->setModel(files);
    ui->RzShellList1->setRootIndex(files->index(QDir::homePath()));
    connect(ui->RzShellTree2, &FolderTree::selectedPathChanged, this, [this, files](const QString &path) {
        if (!path.isEmpty())
            ui->RzShellList1->setRootIndex(files->setRootPath(path));
    });

    setHint(ui->Edit1, QStringLiteral("Leer lassen um den mtd-Namen zu übernehmen."));
    setHint(ui->LMDFileOpenEdit2, QStringLiteral("Hier gehen auch 8-MB-Image zu flashen"));
    setHint(ui->RzEdit1, QStringLiteral("Hier wird die IP-Adresse ihres Rechners angezeigt!|"
                                        "Hier wird die IP-Adresse ihres Rechners angezeigt!"));
    setHint(ui->RzComboBox1, QStringLiteral("IP der Vexa bitte hier eingeben! Oder bei DHCP die Box suchen mit "
                                            "dem Button rechts!"));
    setHint(ui->RzButton2, QStringLiteral("Sie nutzen DHCP und kennen ihre IP nicht?\nDann klicken Sie bitte hier!"));
}

void TForm1::setUpStatusBar()
{
    QStatusBar *bar = ui->RzStatusBar1;
    bar->setFixedHeight(26);
    bar->setSizeGripEnabled(true);

    auto *clock = new QLabel(bar);
    clock->setObjectName(QStringLiteral("RzClockStatus1"));
    clock->setFixedWidth(146);
    clock->setAlignment(Qt::AlignCenter);
    clock->setAccessibleName(QStringLiteral("Uhrzeit"));
    QFont small = clock->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    clock->setFont(small);
    const auto tick = [clock] { clock->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))); };
    tick();
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, clock, tick);
    m_clock.start();

    auto *transfer = new QWidget(bar);
    transfer->setObjectName(QStringLiteral("transferPane"));
    transfer->setMinimumWidth(297);
    auto *transferLayout = new QHBoxLayout(transfer);
    transferLayout->setContentsMargins(4, 0, 4, 0);
    auto *label = new QLabel(QStringLiteral("Transfer-Status"), transfer);
    label->setObjectName(QStringLiteral("Label1"));
    auto *progress = new QProgressBar(transfer);
    progress->setObjectName(QStringLiteral("RzProgressBar1"));
    progress->setFixedSize(163, 19);
    progress->setRange(0, 100);
    progress->setValue(0);
    progress->setAccessibleName(QStringLiteral("Transfer-Status"));
    label->setBuddy(progress);
    transferLayout->addWidget(label);
    transferLayout->addWidget(progress);

    auto *link = new LinkLabel(bar);
    link->setObjectName(QStringLiteral("RzURLLabel1"));
    link->setUrl(SupportSite);
    link->setText(QStringLiteral("boxwart.example.org"));
    link->setFixedWidth(232);
    link->setAlignment(Qt::AlignCenter);

    bar->addWidget(clock);
    bar->addWidget(transfer);
    bar->addWidget(link);
}

void TForm1::setUpGroupBar()
{
    using BoxwartIcons::Flag;
    using BoxwartIcons::Symbol;
    using BoxwartIcons::flag;
    using BoxwartIcons::symbol;
    GroupBar *bar = ui->RzGroupBar1;

    // A shortcut carries no logic of its own: it shows a page and performs
    // a real click of a button or menu item, so that control's own checks run.
    struct Shortcut {
        QString text;
        QIcon icon;
        int page;                   // -1: stay on the current page
        QAbstractButton *button;    // or
        QAction *action;
    };
    const auto addGroup = [bar, this](const QString &name, const QString &caption, bool open,
                                      const QList<Shortcut> &shortcuts) {
        ShortcutGroup *group = bar->addGroup(name, caption, open);
        for (const Shortcut &shortcut : shortcuts)
            group->addItem(shortcut.text, shortcut.icon);
        connect(group, &ShortcutGroup::itemClicked, this, [this, shortcuts](int index) {
            const Shortcut &shortcut = shortcuts.at(index);
            if (shortcut.page >= 0)
                showPage(shortcut.page);
            if (shortcut.button)
                shortcut.button->click();
            if (shortcut.action)
                shortcut.action->trigger();
        });
        return group;
    };

    addGroup(QStringLiteral("RzGroup2"), QStringLiteral("Einstellungen"), true,
             {{QStringLiteral("Setup/MAC"), symbol(Symbol::Settings), SetupPage, nullptr, nullptr},
              {QStringLiteral("Deutsch"), flag(Flag::Germany), -1, nullptr, ui->Deutsch1},
              {QStringLiteral("English"), flag(Flag::UnitedKingdom), -1, nullptr, ui->English1},
              {QStringLiteral("Russian"), flag(Flag::Russia), -1, nullptr, ui->Russian1},
              {QStringLiteral("Netherland"), flag(Flag::Netherlands), -1, nullptr, ui->Netherland1},
              {QStringLiteral("Italian"), flag(Flag::Italy), -1, nullptr, ui->Italian1},
              {QStringLiteral("Greek"), flag(Flag::Greece), -1, nullptr, ui->Greek1}});
    addGroup(QStringLiteral("RzGroup3"), QStringLiteral("Image Service"), false,
             {{QStringLiteral("Upload"), symbol(Symbol::Upload), UploadPage, nullptr, nullptr},
              {QStringLiteral("Backup"), symbol(Symbol::Download), BackupPage, nullptr, nullptr},
              {QStringLiteral("TFTP upload"), symbol(Symbol::Network), TftpPage, nullptr, nullptr}});
    addGroup(QStringLiteral("RzGroup4"), QStringLiteral("RS232 Konsole"), false,
             {{QStringLiteral("Verbinden"), symbol(Symbol::Connect), ConsolePage, ui->RzButton8, nullptr},
              {QStringLiteral("Expert.-Setup"), symbol(Symbol::Console), ConsolePage, ui->RzButton10, nullptr},
              {QStringLiteral("Log speichern"), symbol(Symbol::Save), ConsolePage, ui->RzButton9, nullptr}});
    addGroup(QStringLiteral("RzGroup5"), QStringLiteral("Timer-Events"), false,
             {{QStringLiteral("Timer-Datei Vexa > PC"), symbol(Symbol::Download), TimerPage, ui->RzButton11, nullptr},
              {QStringLiteral("Timer-Datei PC > Vexa"), symbol(Symbol::Upload), TimerPage, ui->RzButton12, nullptr}});
    // Mounting and unmounting leave the page to the job, which shows its own.
    addGroup(QStringLiteral("RzGroup6"), QStringLiteral("HD-Control"), false,
             {{QStringLiteral("item1"), symbol(Symbol::Disk), -1, ui->RzButton14, nullptr},
              {QStringLiteral("Item2"), symbol(Symbol::Disk), -1, ui->RzButton15, nullptr},
              {QStringLiteral("Item3"), symbol(Symbol::Connect), DiskPage, ui->RzButton16, nullptr},
              {QStringLiteral("Item4"), symbol(Symbol::Disconnect), DiskPage, ui->RzButton17, nullptr}});
    ShortcutGroup *logoGroup = addGroup(QStringLiteral("RzGroup1"), QStringLiteral("Logo"), true, {});
    auto *logo = new QLabel;
    logo->setObjectName(QStringLiteral("Image321"));
    logo->setPixmap(BoxwartIcons::logo());
    logo->setFixedSize(105, 57);
    logo->setAccessibleName(QStringLiteral("Boxwart Logo"));
    logoGroup->addWidget(logo);
}

void TForm1::FormCreate()
{
    setWindowTitle(QStringLiteral("Boxwart 0.9 - Backup/Restore Vexa"));
    m_state.PromptTally.clear();
    ui->RzEdit1->setText(LocalAddress::current());
    ui->TnScript1->clearScreen();

    ui->RzComboBox1->setEditText(SettingsStore::read(SettingsStore::BoxIp));
    if (!m_options.boxAddress.isEmpty())
        ui->RzComboBox1->setEditText(m_options.boxAddress);
    ui->RzEdit2->setText(SettingsStore::read(SettingsStore::UserId));
    if (ui->RzEdit2->text().isEmpty())
        ui->RzEdit2->setText(QStringLiteral("root"));
    ui->RzEdit3->setText(SettingsStore::read(SettingsStore::Password));
    ui->RzShellTree1->selectPath(SettingsStore::read(SettingsStore::BackupPath));

    chooseStoredLanguage();

    ui->LMDFileOpenEdit1->setFileName(SettingsStore::read(SettingsStore::Image1));
    ui->LMDFileOpenEdit2->setFileName(SettingsStore::read(SettingsStore::Image2));
    ui->RzComboBox2->setCurrentIndex(0);
    const QDateTime now = QDateTime::currentDateTime();
    ui->RzTimePicker1->setDateTime(now);
    ui->RzTimePicker2->setDateTime(now);
}

void TForm1::chooseStoredLanguage()
{
    // Loading a language stores its key first, so each test reads the value
    // afresh and at most one language gets loaded. Case matters.
    const auto stored = [] { return SettingsStore::read(SettingsStore::Language); };
    const QString first = stored();
    if (first == QLatin1String("german") || first.isEmpty()) {
        m_state.LanguageName = QStringLiteral("german");
        language(this, m_state);
    }
    for (const QString &key : {QStringLiteral("english"), QStringLiteral("russian"), QStringLiteral("dutch"),
                              QStringLiteral("italian"), QStringLiteral("greek")}) {
        if (stored() == key) {
            m_state.LanguageName = key;
            language(this, m_state);
        }
    }
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::FormResize()
{
    const QSize outer = frameGeometry().size();
    ui->TnScript1->resize(outer.width() - 190, outer.height() - 329);
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    // The design size is the outer size; the frame is known only now.
    const QSize frame = frameGeometry().size() - geometry().size();
    setMinimumSize(designSize - frame);
    resize(designSize - frame);
    if (const QScreen *display = screen()) {
        QRect outer = frameGeometry();
        outer.moveCenter(display->availableGeometry().center());
        move(outer.topLeft());
    }
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // Windows the main window owns (the TV-guide window) go with it, so that
    // closing it always ends the program.
    const QList<QWidget *> owned = findChildren<QWidget *>();
    for (QWidget *widget : owned) {
        if (widget->isWindow() && widget->isVisible())
            widget->close();
    }
    QMainWindow::closeEvent(event);
}

bool TForm1::event(QEvent *event)
{
    // Long hints belong to the balloons only; the status bar keeps its panes.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void TForm1::RzPageControl1Change()
{
    ui->RzEdit1->setText(LocalAddress::current());
}

void TForm1::RzButton3Click()
{
    SettingsStore::write(SettingsStore::BoxIp, ui->RzComboBox1->currentText());
    SettingsStore::write(SettingsStore::UserId, ui->RzEdit2->text());
    SettingsStore::write(SettingsStore::Password, ui->RzEdit3->text());
}

void TForm1::ListBox2ContextMenu(const QPoint &position)
{
    control<QMenu>(this, QStringLiteral("PopupMenu1"))->popup(ui->ListBox2->viewport()->mapToGlobal(position));
}

void TForm1::showPage(int index)
{
    ui->RzPageControl1->setCurrentIndex(index);
}
