#include "app/frm_adal.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cassert>
#include <filesystem>

#include "app/free_space.h"
#include "app/run_many.h"
#include "app/scale_widgets.h"
#include "app/user_prompts.h"
#include "texts/language_fill.h"

namespace {

constexpr int kToolBarHeight = 57;
constexpr int kButtonHeight = 47;
constexpr int kGaugeHeight = 30;
constexpr int kPanel1Width = 233;
constexpr int kPanel5Height = 136;
constexpr int kFirstiniMs = 1000;
constexpr int kTimer1Ms = 10000;
constexpr int kTargettimerMs = 1000;
constexpr int kSizeGroupMax = 8;
constexpr int kSizeGroupFormPosition = 2;
constexpr std::array<int, 3> kStatusPanelWidths = {300, 350, 50};
constexpr int kStatusFontPoints = 11;

const QColor kLime(0, 255, 0);
const QColor kAqua(0, 255, 255);

QFont pixelFont(const QString& family, int pixels, bool bold = false) {
  QFont f(family);
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

// The form's up-down: a spin box whose arrow steps (a person's click, not a
// value set by the program) run the click operation.
class UpDownSelector : public QSpinBox {
 public:
  UpDownSelector(QWidget* parent, std::function<void()> onClick) : QSpinBox(parent), onClick_(std::move(onClick)) {}
  void stepBy(int steps) override {
    QSpinBox::stepBy(steps);
    onClick_();
  }

 private:
  std::function<void()> onClick_;
};

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

// Days since 30 December 1899, the program's date-time numbers.
double dayCount(const QDateTime& t) {
  static const QDate kEpoch(1899, 12, 30);
  return static_cast<double>(kEpoch.daysTo(t.date())) + t.time().msecsSinceStartOfDay() / 86400000.0;
}

void call(const std::function<void()>& f) {
  if (f) f();
}

}  // namespace

TFrmAdal::TFrmAdal(MainWindowState state, MainWindowEnvironment environment, MainWindowLinks links,
                   QWidget* parent)
    : QMainWindow(parent), state_(state), env_(std::move(environment)), links_(std::move(links)) {
  assert(env_.prompts != nullptr);
  setObjectName(QStringLiteral("FrmAdal"));
  setFont(pixelFont(QStringLiteral("Arial"), 13));
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(central);

  createToolBar();
  column->addWidget(ToolBar1);
  Gauge1 = new QProgressBar(central);
  Gauge1->setObjectName(QStringLiteral("Gauge1"));
  Gauge1->setFixedHeight(kGaugeHeight);
  Gauge1->setTextVisible(false);
  Gauge1->setRange(0, 100);
  Gauge1->setValue(0);
  Gauge1->setStyleSheet(QStringLiteral("QProgressBar#Gauge1 { background: palette(button); border: 1px solid gray; }"
                                       "QProgressBar#Gauge1::chunk { background: lime; }"));
  column->addWidget(Gauge1);

  auto* body = new QHBoxLayout;
  body->setSpacing(0);
  column->addLayout(body, 1);
  createCounterPanel();
  body->addWidget(Panel1);
  Panel3 = new QFrame(central);
  Panel3->setObjectName(QStringLiteral("Panel3"));
  auto* panel3Column = new QVBoxLayout(Panel3);
  panel3Column->setContentsMargins(0, 0, 0, 0);
  createChartPage();
  panel3Column->addWidget(pagectrl, 1);
  panel3Column->addStretch();  // holds the size-group pages at the bottom while the chart is hidden
  createSizeGroupPages();
  panel3Column->addWidget(Panel5);
  body->addWidget(Panel3, 1);

  createStatusBar();
  createTimers();
  FormCreate();
}

TFrmAdal::~TFrmAdal() = default;

void TFrmAdal::createToolBar() {
  ToolBar1 = new QWidget(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setFixedHeight(kToolBarHeight);
  ToolBar1->setFont(pixelFont(QStringLiteral("Arial"), 15));
  auto* row = new QHBoxLayout(ToolBar1);
  row->setContentsMargins(2, (kToolBarHeight - kButtonHeight) / 2, 2, (kToolBarHeight - kButtonHeight) / 2);
  row->setSpacing(0);
  auto button = [&](const char* name, const char* caption, int width, bool shown) {
    auto* b = new QPushButton(QString::fromUtf8(caption), ToolBar1);
    b->setObjectName(QString::fromLatin1(name));
    b->setFixedSize(width, kButtonHeight);
    b->setFont(pixelFont(QStringLiteral("Arial"), 13, true));
    b->setVisible(shown);
    row->addWidget(b);
    return b;
  };
  Button4 = button("Button4", "New counting session", 153, false);
  startstop = button("startstop", "Stop", 56, false);
  Storebtn = button("Storebtn", "Store", 65, false);
  Storebtn->setEnabled(false);
  Button5 = button("Button5", "Settings", 72, false);
  scopebtn = button("scopebtn", "Visibility", 72, false);
  Button3 = button("Button3", "Calibration", 80, false);
  Debugrec = button("Debugrec", "Debug Rec", 72, false);
  Viewfilebtn = button("Viewfilebtn", "View Record", 85, true);
  Reportbtn = button("Reportbtn", "View Report", 85, true);
  Button6 = button("Button6", "Exit", 65, true);
  row->addStretch(1);

  connect(Storebtn, &QPushButton::clicked, this, &TFrmAdal::StorebtnClick);
  connect(Button5, &QPushButton::clicked, this, [this] { call(links_.showSettings); });
  connect(scopebtn, &QPushButton::clicked, this, [this] { call(links_.showScope); });
  connect(Debugrec, &QPushButton::clicked, this, [this] { call(links_.showDebugRecording); });
  connect(Viewfilebtn, &QPushButton::clicked, this, [this] { call(links_.openRecord); });
  connect(Reportbtn, &QPushButton::clicked, this, [this] { call(links_.openReport); });
  connect(Button6, &QPushButton::clicked, this, &TFrmAdal::Button6Click);
}

void TFrmAdal::createCounterPanel() {
  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedWidth(kPanel1Width);
  auto* panel1Column = new QVBoxLayout(Panel1);
  panel1Column->setContentsMargins(0, 0, 0, 0);
  Panel4 = new QFrame(Panel1);
  Panel4->setObjectName(QStringLiteral("Panel4"));
  Panel4->setAutoFillBackground(true);
  QPalette dark = Panel4->palette();
  dark.setColor(QPalette::Window, Qt::black);
  Panel4->setPalette(dark);
  panel1Column->addWidget(Panel4, 1);
  auto* boxes = new QVBoxLayout(Panel4);
  for (int n = 1; n <= kMaxChannels; ++n) {
    GroupBox[n] = new QGroupBox(QStringLiteral("Channel %1").arg(n), Panel4);
    GroupBox[n]->setObjectName(QStringLiteral("GroupBox%1").arg(n));
    GroupBox[n]->setFont(pixelFont(QStringLiteral("Arial"), 16, true));
    setTextColour(GroupBox[n], kLime);
    auto* inside = new QVBoxLayout(GroupBox[n]);
    Teljari[n] = makeCountField(GroupBox[n], QStringLiteral("Teljari%1").arg(n), kLime, 37);
    Teljari[n]->installEventFilter(this);
    inside->addWidget(Teljari[n]);
    boxes->addWidget(GroupBox[n]);
  }
  boxes->addStretch(1);
  SumGroupBox = new QGroupBox(QStringLiteral("Total"), Panel4);
  SumGroupBox->setObjectName(QStringLiteral("SumGroupBox"));
  SumGroupBox->setFont(pixelFont(QStringLiteral("Arial"), 16, true));
  setTextColour(SumGroupBox, Qt::white);
  auto* sumCell = new QGridLayout(SumGroupBox);
  Total = makeCountField(SumGroupBox, QStringLiteral("Total"), Qt::white, 35);
  Summa = makeCountField(SumGroupBox, QStringLiteral("Summa"), Qt::yellow, 35);
  Total->installEventFilter(this);
  Summa->installEventFilter(this);
  sumCell->addWidget(Total, 0, 0);  // the two fields lie over each other;
  sumCell->addWidget(Summa, 0, 0);  // one of them shows at a time
  Summa->hide();
  boxes->addWidget(SumGroupBox);
  Panel4->hide();
}

void TFrmAdal::createChartPage() {
  pagectrl = new QTabWidget(this);
  pagectrl->setObjectName(QStringLiteral("pagectrl"));
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
  Series1 = line("Series1", "Counter 1", Qt::blue);
  Series3 = line("Series3", "Counter 2", kAqua);
  Series4 = line("Series4", "Counter 3", kLime);
  Series5 = line("Series5", "Counter 4", Qt::yellow);
  Series2 = line("Series2", "Max capacity", Qt::red);
  bottomAxis = new QDateTimeAxis(chart);
  bottomAxis->setFormat(QStringLiteral("hh:mm"));
  leftAxis = new QValueAxis(chart);
  leftAxis->setTitleText(QStringLiteral("fry/min"));
  leftAxis->setMinorTickCount(0);
  chart->addAxis(bottomAxis, Qt::AlignBottom);
  chart->addAxis(leftAxis, Qt::AlignLeft);
  for (QLineSeries* s : {Series1, Series3, Series4, Series5, Series2}) {
    s->attachAxis(bottomAxis);
    s->attachAxis(leftAxis);
  }
  connect(Series1, &QLineSeries::pointAdded, this, [this](int) { Series1AfterAdd(); });
  Chart1 = new QChartView(chart, pagectrl);
  Chart1->setObjectName(QStringLiteral("Chart1"));
  pagectrl->addTab(Chart1, QStringLiteral("Throughput"));
  pagectrl->hide();
}

void TFrmAdal::createSizeGroupPages() {
  Panel5 = new QFrame(this);
  Panel5->setObjectName(QStringLiteral("Panel5"));
  Panel5->setFixedHeight(kPanel5Height);
  auto* panel5Row = new QHBoxLayout(Panel5);
  panel5Row->setContentsMargins(0, 0, 0, 0);
  PageControl1 = new QTabWidget(Panel5);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  panel5Row->addWidget(PageControl1, 1);
  for (int n = 1; n <= kMaxChannels; ++n) {
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(n));
    auto* grid = new QGridLayout(page);
    UpDown[n] = new UpDownSelector(page, [this, n] { UpDownClick(n); });
    UpDown[n]->setObjectName(QStringLiteral("UpDown%1").arg(n));
    UpDown[n]->setRange(0, kSizeGroupMax);
    UpDown[n]->setValue(kSizeGroupFormPosition);
    grid->addWidget(UpDown[n], 0, 0, 3, 1);
    auto labelled = [&](const char* stem, const char* caption, int row, QLabel*& label, QLineEdit*& field) {
      label = new QLabel(QString::fromUtf8(caption), page);
      label->setObjectName(QStringLiteral("%1Label%2").arg(QLatin1String(stem)).arg(n));
      field = new QLineEdit(page);
      field->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(stem)).arg(n));
      field->setReadOnly(true);
      grid->addWidget(label, row, 1);
      grid->addWidget(field, row, 2);
    };
    labelled("sizelbl", "Size Group", 0, sizelblLabel[n], sizelbl[n]);
    labelled("estimlbl", "Average Weight", 1, estimlblLabel[n], estimlbl[n]);
    ProgressBar[n] = new QProgressBar(page);
    ProgressBar[n]->setObjectName(QStringLiteral("ProgressBar%1").arg(n));
    ProgressBar[n]->hide();
    grid->addWidget(ProgressBar[n], 2, 1, 1, 2);
    PageControl1->addTab(page, QStringLiteral("Channel %1").arg(n));
  }
  PageControl1->hide();
  Button1 = new QPushButton(QStringLiteral("Button1"), Panel5);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->hide();  // its click does nothing
  panel5Row->addWidget(Button1);
}

void TFrmAdal::createStatusBar() {
  statusBar()->setFont(pixelFont(QStringLiteral("Arial"), 15));
  for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
    StatusPanels[i] = new QLabel(statusBar());
    StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    StatusPanels[i]->setFixedWidth(kStatusPanelWidths[i]);
    statusBar()->addWidget(StatusPanels[i]);
  }
}

void TFrmAdal::createTimers() {
  firstini = new QTimer(this);
  firstini->setInterval(kFirstiniMs);
  connect(firstini, &QTimer::timeout, this, &TFrmAdal::firstiniTimer);
  Timer1 = new QTimer(this);
  Timer1->setInterval(kTimer1Ms);
  connect(Timer1, &QTimer::timeout, this, &TFrmAdal::Timer1Timer);
  Targettimer = new QTimer(this);
  Targettimer->setInterval(kTargettimerMs);
  connect(Targettimer, &QTimer::timeout, this, &TFrmAdal::TargettimerTimer);
}

void TFrmAdal::FormCreate() {
  if (RunMany()) {
    // Another copy runs: this one ends before its window is ever shown.
    endedAtCreate_ = true;
    return;
  }
  resize(kDesignWidth, kDesignHeight);
  UpDown[1]->setValue(1);
  call(links_.createSettingsStore);
  int screenHeight = kDesignHeight;
  if (env_.screenHeight) {
    screenHeight = env_.screenHeight();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    screenHeight = screen->geometry().height();
  }
  if (screenHeight > 0 && screenHeight != kDesignHeight) {
    scaleWidgetTree(this, screenHeight, kDesignHeight);
    scaleNumerator_ = screenHeight;
  }
  call(links_.portoff);
}

bool TFrmAdal::RunMany() {
  const std::optional<std::vector<std::string>> names =
      env_.processNames ? env_.processNames() : runningProcessNames();
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
  // FormClose does nothing of its own: closing the main window ends the program.
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) emit closed();
}

void TFrmAdal::Button6Click() {
  if (env_.prompts->askYesNo(QStringLiteral("Confirm, exit now"))) close();
}

QDateTime TFrmAdal::now() const { return env_.now ? env_.now() : QDateTime::currentDateTime(); }

void TFrmAdal::firstiniTimer() {
  firstini->stop();
  call(links_.readRegistry);
  const int widthItem = links_.channelWidthItem ? links_.channelWidthItem() : 1;
  if (links_.setChannelWidthConstants) links_.setChannelWidthConstants(channelWidthConstants(widthItem));
  QFont statusFont = statusBar()->font();
  statusFont.setPointSize(kStatusFontPoints);
  statusBar()->setFont(statusFont);
  for (QLabel* panel : StatusPanels) panel->setFont(statusFont);
  state_.session.SessionActive = false;
  state_.session.RunFlag = false;
  call(links_.stopSampling);
  call(links_.languageFill);
  for (int n = 1; n <= kMaxChannels; ++n) {
    estimlbl[n]->show();
    estimlblLabel[n]->show();
    ProgressBar[n]->show();
  }
  call(links_.showWeightGroups);
  showCounts();
  SettingsVariables& s = state_.settings;
  s.ChannelPositions[1].Begin = s.LeftEdge;
  // The channel table holds four channels; a count outside 1..4 (settings
  // not loaded) must not write past it.
  if (s.NrChannels >= 1 && s.NrChannels <= kMaxChannels) s.ChannelPositions[s.NrChannels].End = s.RightEdge;
  if (s.NrChannels == 1) call(links_.uncheckAndDisableMulti);
  Stillamultiteljara();
  call(links_.fillChannelTable);
  Debugrec->setVisible(s.DebugMode);
  const int64_t freeBytes =
      env_.freeBytes ? env_.freeBytes() : freeBytesOf(std::filesystem::current_path().string());
  if (const auto warning = freeSpaceWarning(freeMegabytes(freeBytes)))
    env_.prompts->inform(QString::fromStdString(*warning));
  state_.counting.BufferCount = 1;
  state_.counting.BufferCountStart = dayCount(now());
}

void TFrmAdal::showCounts() {
  const SettingsVariables& s = state_.settings;
  Summa->setText(QString::number(channelCountSum(s)));
  Total->setText(QString::number(s.GrandTotal));
  for (int n = 1; n <= kMaxChannels; ++n) Teljari[n]->setText(QString::number(s.ChannelCounter[n]));
}

QLineSeries* TFrmAdal::counterSeries(int channel) const {
  switch (channel) {
    case 1: return Series1;
    case 2: return Series3;
    case 3: return Series4;
    case 4: return Series5;
    default: return nullptr;
  }
}

QColor TFrmAdal::sumBoxTextColour() const { return SumGroupBox->palette().color(QPalette::WindowText); }

QString TFrmAdal::langText(int index, const char* english) const {
  return links_.langText ? links_.langText(index) : QString::fromUtf8(english);
}

void TFrmAdal::renameChannel(int channel, const QString& name) {
  if (channel < 1 || channel > kMaxChannels) return;
  GroupBox[channel]->setTitle(name);
  PageControl1->setTabText(channel - 1, name);
  counterSeries(channel)->setName(name);
}

void TFrmAdal::setCaption(std::string_view control, int item, const std::string& text) {
  const QString name = QString::fromUtf8(control.data(), static_cast<qsizetype>(control.size()));
  const QString value = QString::fromStdString(text);
  if (name == QLatin1String("Caption")) {
    setWindowTitle(value);
    return;
  }
  if (name == QLatin1String("Throughput") || (name == QLatin1String("pagectrl") && item == 0)) {
    pagectrl->setTabText(0, value);
    return;
  }
  for (int n = 1; n <= kMaxChannels; ++n) {
    // The labelled fields take the caption on their label.
    if (name == sizelbl[n]->objectName()) {
      sizelblLabel[n]->setText(value);
      return;
    }
    if (name == estimlbl[n]->objectName()) {
      estimlblLabel[n]->setText(value);
      return;
    }
  }
  if (name == QLatin1String("PageControl1") && item >= 0 && item < PageControl1->count()) {
    PageControl1->setTabText(item, value);
    return;
  }
  QWidget* target = findChild<QWidget*>(name);
  if (auto* button = qobject_cast<QPushButton*>(target)) {
    button->setText(value);
  } else if (auto* box = qobject_cast<QGroupBox*>(target)) {
    box->setTitle(value);
  } else if (auto* label = qobject_cast<QLabel*>(target)) {
    label->setText(value);
  } else if (target != nullptr && target->parentWidget() != nullptr &&
             qobject_cast<QTabWidget*>(target->parentWidget()->parentWidget()) != nullptr) {
    auto* tabs = qobject_cast<QTabWidget*>(target->parentWidget()->parentWidget());
    tabs->setTabText(tabs->indexOf(target), value);
  }
  // Any other name is not a control of this window: nothing to set.
}
