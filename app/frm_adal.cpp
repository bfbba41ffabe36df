#include "app/frm_adal.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMetaMethod>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include <utility>

#include "app/first_time_initialisation.h"
#include "app/free_space.h"
#include "app/main_window_dialogs.h"
#include "app/main_window_environment.h"
#include "app/program_state.h"
#include "app/run_many.h"
#include "app/scale_widgets.h"
#include "app/up_down_selector.h"
#include "portio/control_output.h"
#include "settings/channel_width.h"
#include "settings/registry.h"
#include "texts/language_fill.h"
#include "widgets/fonts.h"

namespace {

constexpr int kToolBarHeight = 57;
constexpr int kButtonHeight = 47;
constexpr int kGaugeHeight = 30;
constexpr int kPanel1Width = 233;
constexpr int kPanel5Height = 136;
constexpr int kFirstiniMs = 1000;
constexpr int kTimer1Ms = 10000;
constexpr int kTargettimerMs = 1000;
constexpr int kSizeGroupFormPosition = 2;
constexpr std::array<int, 3> kStatusPanelWidths = {300, 350, 50};
constexpr int kStatusFontPoints = 11;

const QColor kLime(0, 255, 0);
const QColor kAqua(0, 255, 255);

// A read-only count field: black, in large coloured digits.
QLineEdit* makeCountField(QWidget* parent, const QString& name, const QColor& colour, int pixels) {
  auto* field = new QLineEdit(QStringLiteral("0"), parent);
  field->setObjectName(name);
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  field->setFont(pixelFont(QStringLiteral("Tahoma"), pixels));
  QPalette pal = field->palette();
  pal.setColor(QPalette::Base, Qt::black);
  pal.setColor(QPalette::Text, colour);
  field->setPalette(pal);
  return field;
}

void setTextColour(QWidget* w, const QColor& colour) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, colour);
  w->setPalette(pal);
}

}  // namespace

TFrmAdal::TFrmAdal(ProgramState& state, MainWindowDialogs* dialogs, MainWindowEnvironment* environment,
                   QWidget* parent)
    : QMainWindow(parent), state_(state), dialogs_(dialogs), env_(environment) {
  if (dialogs_ == nullptr) {
    ownDialogs_ = std::make_unique<QtMainWindowDialogs>(this);
    dialogs_ = ownDialogs_.get();
  }
  if (env_ == nullptr) {
    ownEnvironment_ = std::make_unique<SystemEnvironment>();
    env_ = ownEnvironment_.get();
  }
  setObjectName(QStringLiteral("FrmAdal"));
  setAcceptDrops(true);  // recordings and reports from the file manager
  setFont(pixelFont(QStringLiteral("Arial"), 13));
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(central);

  createToolBar();
  column->addWidget(ui_.ToolBar1);
  ui_.Gauge1 = new QProgressBar(central);
  ui_.Gauge1->setObjectName(QStringLiteral("Gauge1"));
  ui_.Gauge1->setFixedHeight(kGaugeHeight);
  ui_.Gauge1->setTextVisible(false);
  ui_.Gauge1->setRange(0, 100);
  ui_.Gauge1->setValue(0);
  ui_.Gauge1->setStyleSheet(QStringLiteral("QProgressBar#Gauge1 { background: palette(button); border: 1px solid gray; }"
                                       "QProgressBar#Gauge1::chunk { background: lime; }"));
  column->addWidget(ui_.Gauge1);

  auto* body = new QHBoxLayout;
  body->setSpacing(0);
  column->addLayout(body, 1);
  createCounterPanel();
  body->addWidget(ui_.Panel1);
  ui_.Panel3 = new QFrame(central);
  ui_.Panel3->setObjectName(QStringLiteral("Panel3"));
  auto* panel3Column = new QVBoxLayout(ui_.Panel3);
  panel3Column->setContentsMargins(0, 0, 0, 0);
  createChartPage();
  panel3Column->addWidget(ui_.pagectrl, 1);
  panel3Column->addStretch();  // holds the size-group pages at the bottom while the chart is hidden
  createSizeGroupPages();
  panel3Column->addWidget(ui_.Panel5);
  body->addWidget(ui_.Panel3, 1);

  createStatusBar();
  createTimers();
  state_.sett.setMainWindowListener(this);
  FormCreate();
  state_.recorder.setMessages(this);
}

TFrmAdal::~TFrmAdal() {
  // The settings model outlives the window: it must not show anything on it.
  if (state_.sett.mainWindowListener() == this) state_.sett.setMainWindowListener(nullptr);
  state_.recorder.setMessages(nullptr);
}

void TFrmAdal::createToolBar() {
  ui_.ToolBar1 = new QWidget(this);
  ui_.ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ui_.ToolBar1->setFixedHeight(kToolBarHeight);
  ui_.ToolBar1->setFont(pixelFont(QStringLiteral("Arial"), 15));
  auto* row = new QHBoxLayout(ui_.ToolBar1);
  row->setContentsMargins(2, (kToolBarHeight - kButtonHeight) / 2, 2, (kToolBarHeight - kButtonHeight) / 2);
  row->setSpacing(0);
  auto button = [&](const char* name, const char* caption, int width, bool shown) {
    auto* b = new QPushButton(QString::fromUtf8(caption), ui_.ToolBar1);
    b->setObjectName(QString::fromLatin1(name));
    b->setFixedSize(width, kButtonHeight);
    b->setFont(pixelFont(QStringLiteral("Arial"), 13, true));
    b->setVisible(shown);
    row->addWidget(b);
    return b;
  };
  ui_.Button4 = button("Button4", "New counting session", 153, false);
  ui_.startstop = button("startstop", "Stop", 56, false);
  ui_.Storebtn = button("Storebtn", "Store", 65, false);
  ui_.Storebtn->setEnabled(false);
  ui_.Button5 = button("Button5", "Settings", 72, false);
  ui_.scopebtn = button("scopebtn", "Visibility", 72, false);
  ui_.Button3 = button("Button3", "Calibration", 80, false);
  ui_.Debugrec = button("Debugrec", "Debug Rec", 72, false);
  ui_.Viewfilebtn = button("Viewfilebtn", "View Record", 85, true);
  ui_.Reportbtn = button("Reportbtn", "View Report", 85, true);
  ui_.Button6 = button("Button6", "Exit", 65, true);
  row->addStretch(1);
  // Alt and a letter of the caption press a button, as a click does; the
  // captions stay as the texts give them (no '&' in them). Qt lets hidden and
  // disabled buttons ignore their keys.
  const std::pair<QPushButton*, const char*> keys[] = {
      {ui_.Button4, "Alt+N"},     {ui_.startstop, "Alt+S"}, {ui_.Storebtn, "Alt+T"},
      {ui_.Button5, "Alt+E"},     {ui_.scopebtn, "Alt+I"},  {ui_.Button3, "Alt+C"},
      {ui_.Debugrec, "Alt+D"},    {ui_.Viewfilebtn, "Alt+R"}, {ui_.Reportbtn, "Alt+P"},
      {ui_.Button6, "Alt+X"}};
  for (const auto& [b, key] : keys) b->setShortcut(QKeySequence(QString::fromLatin1(key)));

  connect(ui_.Storebtn, &QPushButton::clicked, this, &TFrmAdal::StorebtnClick);
  connect(ui_.Button5, &QPushButton::clicked, this, &TFrmAdal::settingsWindowRequested);
  connect(ui_.scopebtn, &QPushButton::clicked, this, &TFrmAdal::scopeRequested);
  connect(ui_.Debugrec, &QPushButton::clicked, this, &TFrmAdal::debugViewerRequested);
  connect(ui_.Viewfilebtn, &QPushButton::clicked, this, &TFrmAdal::recordViewerRequested);
  connect(ui_.Reportbtn, &QPushButton::clicked, this, &TFrmAdal::reportViewerRequested);
  connect(ui_.Button6, &QPushButton::clicked, this, &TFrmAdal::Button6Click);
}

void TFrmAdal::createCounterPanel() {
  ui_.Panel1 = new QFrame(this);
  ui_.Panel1->setObjectName(QStringLiteral("Panel1"));
  ui_.Panel1->setFixedWidth(kPanel1Width);
  auto* panel1Column = new QVBoxLayout(ui_.Panel1);
  panel1Column->setContentsMargins(0, 0, 0, 0);
  ui_.Panel4 = new QFrame(ui_.Panel1);
  ui_.Panel4->setObjectName(QStringLiteral("Panel4"));
  ui_.Panel4->setAutoFillBackground(true);
  QPalette dark = ui_.Panel4->palette();
  dark.setColor(QPalette::Window, Qt::black);
  ui_.Panel4->setPalette(dark);
  panel1Column->addWidget(ui_.Panel4, 1);
  auto* boxes = new QVBoxLayout(ui_.Panel4);
  for (int n = 1; n <= kMaxChannels; ++n) {
    ui_.GroupBox[n] = new QGroupBox(QStringLiteral("Channel %1").arg(n), ui_.Panel4);
    ui_.GroupBox[n]->setObjectName(QStringLiteral("GroupBox%1").arg(n));
    ui_.GroupBox[n]->setFont(pixelFont(QStringLiteral("Arial"), 16, true));
    setTextColour(ui_.GroupBox[n], kLime);
    auto* inside = new QVBoxLayout(ui_.GroupBox[n]);
    ui_.Teljari[n] = makeCountField(ui_.GroupBox[n], QStringLiteral("Teljari%1").arg(n), kLime, 37);
    ui_.Teljari[n]->installEventFilter(this);
    inside->addWidget(ui_.Teljari[n]);
    boxes->addWidget(ui_.GroupBox[n]);
  }
  boxes->addStretch(1);
  ui_.SumGroupBox = new QGroupBox(QStringLiteral("Total"), ui_.Panel4);
  ui_.SumGroupBox->setObjectName(QStringLiteral("SumGroupBox"));
  ui_.SumGroupBox->setFont(pixelFont(QStringLiteral("Arial"), 16, true));
  setTextColour(ui_.SumGroupBox, Qt::white);
  auto* sumCell = new QGridLayout(ui_.SumGroupBox);
  ui_.Total = makeCountField(ui_.SumGroupBox, QStringLiteral("Total"), Qt::white, 35);
  ui_.Summa = makeCountField(ui_.SumGroupBox, QStringLiteral("Summa"), Qt::yellow, 35);
  ui_.Total->installEventFilter(this);
  ui_.Summa->installEventFilter(this);
  sumCell->addWidget(ui_.Total, 0, 0);  // the two fields lie over each other;
  sumCell->addWidget(ui_.Summa, 0, 0);  // one of them shows at a time
  ui_.Summa->hide();
  boxes->addWidget(ui_.SumGroupBox);
  ui_.Panel4->hide();
}

void TFrmAdal::createChartPage() {
  ui_.pagectrl = new QTabWidget(this);
  ui_.pagectrl->setObjectName(QStringLiteral("pagectrl"));
  auto* chart = new QChart;
  chart->setTitle(QString());
  chart->legend()->setAlignment(Qt::AlignBottom);
  auto line = [chart](const char* name, const char* title, const QColor& colour) {
    auto* s = new QLineSeries(chart);
    s->setObjectName(QString::fromLatin1(name));
    s->setName(QString::fromUtf8(title));
    s->setColor(colour);
    s->setPointsVisible(false);
    chart->addSeries(s);
    return s;
  };
  ui_.Series1 = line("Series1", "Counter 1", Qt::blue);
  ui_.Series3 = line("Series3", "Counter 2", kAqua);
  ui_.Series4 = line("Series4", "Counter 3", kLime);
  ui_.Series5 = line("Series5", "Counter 4", Qt::yellow);
  ui_.Series2 = line("Series2", "Max capacity", Qt::red);
  ui_.bottomAxis = new QDateTimeAxis(chart);
  ui_.bottomAxis->setFormat(QStringLiteral("hh:mm"));
  ui_.leftAxis = new QValueAxis(chart);
  ui_.leftAxis->setTitleText(QStringLiteral("fry/min"));
  ui_.leftAxis->setMinorTickCount(0);
  chart->addAxis(ui_.bottomAxis, Qt::AlignBottom);
  chart->addAxis(ui_.leftAxis, Qt::AlignLeft);
  for (QLineSeries* s : {ui_.Series1, ui_.Series3, ui_.Series4, ui_.Series5, ui_.Series2}) {
    s->attachAxis(ui_.bottomAxis);
    s->attachAxis(ui_.leftAxis);
  }
  connect(ui_.Series1, &QLineSeries::pointAdded, this, [this](int) { Series1AfterAdd(); });
  ui_.Chart1 = new QChartView(chart, ui_.pagectrl);
  ui_.Chart1->setObjectName(QStringLiteral("Chart1"));
  ui_.pagectrl->addTab(ui_.Chart1, QStringLiteral("Throughput"));
  ui_.pagectrl->hide();
}

void TFrmAdal::createSizeGroupPages() {
  ui_.Panel5 = new QFrame(this);
  ui_.Panel5->setObjectName(QStringLiteral("Panel5"));
  ui_.Panel5->setFixedHeight(kPanel5Height);
  auto* panel5Row = new QHBoxLayout(ui_.Panel5);
  panel5Row->setContentsMargins(0, 0, 0, 0);
  ui_.PageControl1 = new QTabWidget(ui_.Panel5);
  ui_.PageControl1->setObjectName(QStringLiteral("PageControl1"));
  panel5Row->addWidget(ui_.PageControl1, 1);
  for (int n = 1; n <= kMaxChannels; ++n) {
    auto* page = new QWidget(ui_.PageControl1);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(n));
    auto* grid = new QGridLayout(page);
    ui_.UpDown[n] = new UpDownSelector(page);
    connect(ui_.UpDown[n], &UpDownSelector::clicked, this, [this, n] { UpDownClick(n); });
    ui_.UpDown[n]->setObjectName(QStringLiteral("UpDown%1").arg(n));
    ui_.UpDown[n]->setRange(kMinSizeGroup, kMaxSizeGroup);
    ui_.UpDown[n]->setValue(kSizeGroupFormPosition);
    grid->addWidget(ui_.UpDown[n], 0, 0, 3, 1);
    auto labelled = [&](const char* stem, const char* caption, int row, QLabel*& label, QLineEdit*& field) {
      label = new QLabel(QString::fromUtf8(caption), page);
      label->setObjectName(QStringLiteral("%1Label%2").arg(QLatin1String(stem)).arg(n));
      field = new QLineEdit(page);
      field->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(stem)).arg(n));
      field->setReadOnly(true);
      grid->addWidget(label, row, 1);
      grid->addWidget(field, row, 2);
    };
    labelled("sizelbl", "Size Group", 0, ui_.sizelblLabel[n], ui_.sizelbl[n]);
    labelled("estimlbl", "Average Weight", 1, ui_.estimlblLabel[n], ui_.estimlbl[n]);
    ui_.ProgressBar[n] = new QProgressBar(page);
    ui_.ProgressBar[n]->setObjectName(QStringLiteral("ProgressBar%1").arg(n));
    ui_.ProgressBar[n]->hide();
    grid->addWidget(ui_.ProgressBar[n], 2, 1, 1, 2);
    ui_.PageControl1->addTab(page, QStringLiteral("Channel %1").arg(n));
  }
  ui_.PageControl1->hide();
  ui_.Button1 = new QPushButton(QStringLiteral("Button1"), ui_.Panel5);
  ui_.Button1->setObjectName(QStringLiteral("Button1"));
  ui_.Button1->hide();  // its click does nothing
  panel5Row->addWidget(ui_.Button1);
}

void TFrmAdal::createStatusBar() {
  statusBar()->setFont(pixelFont(QStringLiteral("Arial"), 15));
  for (std::size_t i = 0; i < ui_.StatusPanels.size(); ++i) {
    ui_.StatusPanels[i] = new QLabel(statusBar());
    ui_.StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    ui_.StatusPanels[i]->setFixedWidth(kStatusPanelWidths[i]);
    statusBar()->addWidget(ui_.StatusPanels[i]);
  }
}

void TFrmAdal::createTimers() {
  ui_.firstini = new QTimer(this);
  ui_.firstini->setInterval(kFirstiniMs);
  connect(ui_.firstini, &QTimer::timeout, this, &TFrmAdal::firstiniTimer);
  ui_.Timer1 = new QTimer(this);
  ui_.Timer1->setInterval(kTimer1Ms);
  connect(ui_.Timer1, &QTimer::timeout, this, &TFrmAdal::Timer1Timer);
  ui_.Targettimer = new QTimer(this);
  ui_.Targettimer->setInterval(kTargettimerMs);
  connect(ui_.Targettimer, &QTimer::timeout, this, &TFrmAdal::TargettimerTimer);
  ui_.rectimer = new QTimer(this);
  ui_.rectimer->setInterval(state_.recorder.rectimer().IntervalMs);
  connect(ui_.rectimer, &QTimer::timeout, this, &TFrmAdal::rectimerTimer);
}

void TFrmAdal::FormCreate() {
  if (RunMany()) {
    // Another copy runs: this one ends before its window is ever shown.
    endedAtCreate_ = true;
    return;
  }
  resize(kDesignWidth, kDesignHeight);
  state_.sett.setSizeGroup(state_.settings, 1, 1);
  state_.store.setPath(defaultStorePath());  // the store on the key "Eka Registry"; nothing is read yet
  const int screenHeight = env_->screenHeight();
  if (screenHeight > 0 && screenHeight != kDesignHeight) {
    scaleWidgetTree(this, screenHeight, kDesignHeight);
    scaleNumerator_ = screenHeight;
  }
  portoff(state_.port);
}

bool TFrmAdal::RunMany() {
  const std::optional<std::vector<std::string>> names = env_->processNames();
  if (!names) return false;  // no process list: the check passes
  return anotherCopyRuns(*names);
}

void TFrmAdal::FormShow() {
  setWindowTitle(QStringLiteral("Tolu Report viewer  %1.%2")
                     .arg(QLatin1Char(kVersionText[0]))
                     .arg(QLatin1String(kVersionText + 1, 2)));
}

void TFrmAdal::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TFrmAdal::closeEvent(QCloseEvent* event) {
  // Closing the main window ends the program. A recording still open is
  // stopped first, so the words waiting in its buffer reach the file.
  QMainWindow::closeEvent(event);
  if (!event->isAccepted()) return;
  if (state_.recorder.isOpen()) {
    state_.recorder.HaettaSkraninguISkra();
    followRecTimer();
  }
  emit closed();
}

void TFrmAdal::Button6Click() {
  if (dialogs_->askYesNo(QStringLiteral("Confirm, exit now"))) close();
}

void TFrmAdal::lampWaitEnded() {
  ui_.firstini->start();
  ui_.Timer1->start();
}

void TFrmAdal::firstiniTimer() {
  ui_.firstini->stop();
  SettingsModel& sett = state_.sett;
  // The settings, the detection constants and the session flags, as the
  // command line has them too.
  firstTimeInitialisation(state_.settings, sett, state_.store, state_.detection, state_.session, &state_.recorder);
  QFont statusFont = statusBar()->font();
  statusFont.setPointSize(kStatusFontPoints);
  statusBar()->setFont(statusFont);
  for (QLabel* panel : ui_.StatusPanels) panel->setFont(statusFont);
  uppfaeraTungumal(state_.texts, state_.settings.LanguageNumber, *this, sett, state_.session.SessionActive);
  for (int n = 1; n <= kMaxChannels; ++n) {
    ui_.estimlbl[n]->show();
    ui_.estimlblLabel[n]->show();
    ui_.ProgressBar[n]->show();
  }
  sett.FishtypeWeight.visible = true;  // with GroupBox12, which the settings model does not hold
  showCounts();
  Stillamultiteljara();
  emit channelTableRequested();
  ui_.Debugrec->setVisible(state_.settings.DebugMode);
  if (const auto warning = freeSpaceWarning(freeMegabytes(env_->freeBytes())))
    dialogs_->inform(QString::fromStdString(*warning));
  state_.counting.BufferCount = 1;
  state_.counting.BufferCountStart = dayCountOf(env_->now());
}

void TFrmAdal::showCounts() {
  const SettingsVariables& s = state_.settings;
  ui_.Summa->setText(QString::number(channelCountSum(s)));
  ui_.Total->setText(QString::number(s.GrandTotal));
  for (int n = 1; n <= kMaxChannels; ++n) ui_.Teljari[n]->setText(QString::number(s.ChannelCounter[n]));
}

QLineSeries* TFrmAdal::counterSeries(int channel) const {
  switch (channel) {
    case 1: return ui_.Series1;
    case 2: return ui_.Series3;
    case 3: return ui_.Series4;
    case 4: return ui_.Series5;
    default: return nullptr;
  }
}

namespace {

QStringList localFiles(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.append(url.toLocalFile());
  }
  return paths;
}

}  // namespace

void TFrmAdal::dragEnterEvent(QDragEnterEvent* event) {
  if (!localFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFrmAdal::dropEvent(QDropEvent* event) {
  const QStringList paths = localFiles(event->mimeData());
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  emit filesDropped(paths);
}

QStringList TFrmAdal::unansweredRequests() const {
  QStringList unanswered;
  const QMetaObject* meta = metaObject();
  for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
    const QMetaMethod method = meta->method(i);
    if (method.methodType() == QMetaMethod::Signal && !isSignalConnected(method))
      unanswered.append(QString::fromLatin1(method.name()));
  }
  return unanswered;
}

QColor TFrmAdal::sumBoxTextColour() const { return ui_.SumGroupBox->palette().color(QPalette::WindowText); }

QString TFrmAdal::langText(int index) const {
  if (index < 0 || index >= kLangTextSize) return QString();
  return QString::fromStdString(state_.texts.LangText[static_cast<size_t>(index)]);
}

void TFrmAdal::showSizeGroupPosition(int channel, int32_t position) {
  // Set, not clicked: the selector's click operation does not run.
  if (channel >= 1 && channel <= kMaxChannels) ui_.UpDown[channel]->setValue(position);
}

void TFrmAdal::renameChannel(int channel, const std::string& name) {
  if (channel < 1 || channel > kMaxChannels) return;
  const QString text = QString::fromStdString(name);
  ui_.GroupBox[channel]->setTitle(text);
  ui_.PageControl1->setTabText(channel - 1, text);
  counterSeries(channel)->setName(text);
}

QWidget* TFrmAdal::captionControl(MainCaption control) const {
  switch (control) {
    case MainCaption::Caption: return const_cast<TFrmAdal*>(this);
    case MainCaption::Button4: return ui_.Button4;
    case MainCaption::Storebtn: return ui_.Storebtn;
    case MainCaption::Button5: return ui_.Button5;
    case MainCaption::scopebtn: return ui_.scopebtn;
    case MainCaption::Button3: return ui_.Button3;
    case MainCaption::Viewfilebtn: return ui_.Viewfilebtn;
    case MainCaption::Reportbtn: return ui_.Reportbtn;
    case MainCaption::Button6: return ui_.Button6;
    case MainCaption::SumGroupBox: return ui_.SumGroupBox;
    // The labelled fields take the caption on their label.
    case MainCaption::sizelbl1: return ui_.sizelblLabel[1];
    case MainCaption::sizelbl2: return ui_.sizelblLabel[2];
    case MainCaption::sizelbl3: return ui_.sizelblLabel[3];
    case MainCaption::sizelbl4: return ui_.sizelblLabel[4];
    case MainCaption::estimlbl1: return ui_.estimlblLabel[1];
    case MainCaption::estimlbl2: return ui_.estimlblLabel[2];
    case MainCaption::estimlbl3: return ui_.estimlblLabel[3];
    case MainCaption::estimlbl4: return ui_.estimlblLabel[4];
    case MainCaption::Throughput: return ui_.Chart1;  // the page of pagectrl
  }
  return nullptr;
}

void TFrmAdal::setCaption(MainCaption control, const std::string& text) {
  const QString value = QString::fromStdString(text);
  QWidget* target = captionControl(control);
  if (target == this) {
    setWindowTitle(value);
  } else if (target == ui_.Chart1) {
    ui_.pagectrl->setTabText(ui_.pagectrl->indexOf(ui_.Chart1), value);
  } else if (auto* button = qobject_cast<QPushButton*>(target)) {
    button->setText(value);
  } else if (auto* box = qobject_cast<QGroupBox*>(target)) {
    box->setTitle(value);
  } else if (auto* label = qobject_cast<QLabel*>(target)) {
    label->setText(value);
  }
}

QString TFrmAdal::captionText(MainCaption control) const {
  const QWidget* target = captionControl(control);
  if (target == this) return windowTitle();
  if (target == ui_.Chart1) return ui_.pagectrl->tabText(ui_.pagectrl->indexOf(ui_.Chart1));
  if (const auto* button = qobject_cast<const QPushButton*>(target)) return button->text();
  if (const auto* box = qobject_cast<const QGroupBox*>(target)) return box->title();
  if (const auto* label = qobject_cast<const QLabel*>(target)) return label->text();
  return QString();
}
