#include "records/record_viewer_window.h"

#include <QApplication>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QTimeZone>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "analysis/detection_state.h"
#include "analysis/number_format.h"
#include "analysis/viewer_counts.h"
#include "records/damage_reporter.h"
#include "records/live_comparison.h"
#include "records/record_viewer_widgets.h"
#include "records/recording_opener.h"
#include "records/recount_engine.h"
#include "reports/day_count.h"
#include "settings/private_folder.h"
#include "settings/regular_file.h"
#include "settings/text_encoding.h"
#include "settings/registry.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"

namespace {

constexpr int kChartHeight = 88;
constexpr int kPanelWidth = 111;
const QColor kNavy(0x00, 0x00, 0x80);  // the pen of the picture (0x800000 as BGR)
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kRecountColour(0xd0, 0x40, 0x00);  // the re-count's curve, apart from the live areas
const QColor kVeil(255, 255, 255, 170);         // over the session outside the recording
const QColor kDifferenceColour(0xc0, 0x00, 0x00);

std::string cannotOpenMessage(const std::string& path, FileProblem problem) {
  return "Cannot open the record file " + printableName(path) + ": " + fileProblemReason(path, problem) + ".";
}

// Days of a time of day (with +1 after midnight) as the date-time axis
// takes them: milliseconds from a fixed midnight in UTC, so no clock change
// bends the axis.
qreal chartMs(double days) {
  static const qint64 base = QDateTime(QDate(2000, 1, 1), QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch();
  return static_cast<qreal>(base) + days * static_cast<double>(kMillisecondsPerDay);
}

// Chart milliseconds back to days.
double chartDays(qreal ms) {
  return (ms - chartMs(0)) / static_cast<double>(kMillisecondsPerDay);
}

}  // namespace

std::optional<std::string> QtRecordViewerDialogs::chooseRecordFile(const std::string& folder,
                                                                   const std::string& filter) {
  const QString name = QFileDialog::getOpenFileName(parent_, QString(), QFile::decodeName(QByteArray::fromStdString(folder)),
                                                    QString::fromStdString(filter));
  if (name.isEmpty()) return std::nullopt;
  return QFile::encodeName(name).toStdString();
}

void QtRecordViewerDialogs::showError(const std::string& text) {
  QMessageBox::critical(parent_, QString(), QString::fromStdString(text), QMessageBox::Ok);
}

void QtRecordViewerDialogs::showWarning(const std::string& text) {
  QMessageBox::warning(parent_, QString(), QString::fromStdString(text), QMessageBox::Ok);
}

std::string recordDialogFolder(const std::string& reportFolder, const std::string& home) {
  std::error_code ec;
  if (!reportFolder.empty() && std::filesystem::is_directory(reportFolder, ec)) return reportFolder;
  return home;
}

TfrmRecord::TfrmRecord(const RecordViewerEnvironment& environment, QWidget* parent)
    : QWidget(parent, Qt::Window),
      env_(environment),
      dialogs_(environment.dialogs, this),
      damage_(std::make_unique<OperatorDamageReporter>()) {
  Q_ASSERT(env_.detection && env_.settings && env_.counts && env_.controls && env_.store && env_.session &&
           env_.camera);
  if (env_.tracePath.empty()) env_.tracePath = defaultTracePath();
  comparison_ = std::make_unique<LiveComparison>();
  engine_ = std::make_unique<RecountEngine>(recountContext());  // no file open yet

  setObjectName(QStringLiteral("frmRecord"));
  setWindowTitle(QStringLiteral("View Record"));
  resize(800, 600);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  createChart();
  layout->addWidget(chartView_);
  trackBar_ = new SelectionTrackBar(this);
  trackBar_->setObjectName(QStringLiteral("TrackBar1"));
  trackBar_->setRange(1, 10);
  layout->addWidget(trackBar_);
  createToolBar();
  layout->addWidget(toolBar_);
  auto* body = new QHBoxLayout;
  body->setSpacing(0);
  createPanel();
  body->addWidget(panel3_);
  picture_ = new RecordPicture(this, this);
  picture_->setObjectName(QStringLiteral("PaintBox1"));
  body->addWidget(picture_, 1);
  layout->addLayout(body, 1);

  connect(trackBar_, &QSlider::valueChanged, this, &TfrmRecord::trackBarMoved);
  createShortcuts();
  refresh();
}

TfrmRecord::~TfrmRecord() = default;

RecountContext TfrmRecord::recountContext() {
  RecountContext ctx;
  ctx.detection = env_.detection;
  ctx.settings = env_.settings;
  ctx.counts = env_.counts;
  ctx.display = env_.sizeDisplay;
  ctx.trace = trace_.is_open() ? &trace_ : nullptr;
  ctx.linesPerBuffer = env_.camera->LinesPerBuffer;
  ctx.controls = env_.controls;
  ctx.session = env_.session;
  ctx.listener = comparison_.get();
  return ctx;
}

void TfrmRecord::createChart() {
  chart_ = new QChart;
  chart_->legend()->hide();
  chart_->setMargins(QMargins(2, 2, 2, 2));
  chart_->setBackgroundRoundness(0);
  axisX_ = new QDateTimeAxis;
  axisX_->setFormat(QStringLiteral("hh:mm:ss"));
  axisX_->setTickCount(6);
  axisY_ = new QValueAxis;
  axisY_->setLabelFormat(QStringLiteral("%d"));
  axisY_->setTickCount(3);
  chart_->addAxis(axisX_, Qt::AlignBottom);
  chart_->addAxis(axisY_, Qt::AlignLeft);
  for (int i = 0; i < kMaxChannels; ++i) {
    auto* upper = new QLineSeries(chart_);
    auto* area = new QAreaSeries(upper);
    area->setName(QStringLiteral("Series%1").arg(i + 1));
    chart_->addSeries(area);
    area->attachAxis(axisX_);
    area->attachAxis(axisY_);
    area->setVisible(i == 0);
    series_[static_cast<size_t>(i)] = area;
  }
  createVeils();
  recountSeries_ = new QLineSeries(chart_);
  recountSeries_->setName(QStringLiteral("Recount"));
  QPen pen(kRecountColour);
  pen.setWidth(2);
  recountSeries_->setPen(pen);
  chart_->addSeries(recountSeries_);
  recountSeries_->attachAxis(axisX_);
  recountSeries_->attachAxis(axisY_);
  chartView_ = new QChartView(chart_, this);
  chartView_->setObjectName(QStringLiteral("Chart1"));
  chartView_->setFixedHeight(kChartHeight);
  chartView_->setRenderHint(QPainter::Antialiasing);
  chartView_->viewport()->installEventFilter(this);
  label3_ = new QLabel(QStringLiteral("Counter 1"), chartView_);
  label3_->setObjectName(QStringLiteral("Label3"));
  label3_->move(60, 4);
  label3_->setAttribute(Qt::WA_TransparentForMouseEvents);
  legend_ = new QLabel(chartView_);
  legend_->setObjectName(QStringLiteral("ChartLegend"));
  legend_->setText(QStringLiteral("<span style='color:%1'>&#9632;</span> live count &nbsp; "
                                  "<span style='color:%2'><b>&#8212;</b></span> re-count")
                       .arg(series_[0]->brush().color().name(), kRecountColour.name()));
  legend_->adjustSize();
  legend_->setAttribute(Qt::WA_TransparentForMouseEvents);
  chartView_->installEventFilter(this);  // keeps the legend in the top right corner
  // A single click shows the next channel once it is sure to be no
  // double-click, which goes to a frame instead.
  clickTimer_ = new QTimer(this);
  clickTimer_->setSingleShot(true);
  clickTimer_->setInterval(QApplication::doubleClickInterval());
  connect(clickTimer_, &QTimer::timeout, this, &TfrmRecord::Chart1Click);
}

void TfrmRecord::createVeils() {
  for (QAreaSeries*& veil : veils_) {
    auto* upper = new QLineSeries(chart_);
    veil = new QAreaSeries(upper);
    veil->setPen(Qt::NoPen);
    veil->setBrush(kVeil);
    chart_->addSeries(veil);
    veil->attachAxis(axisX_);
    veil->attachAxis(axisY_);
  }
}

void TfrmRecord::createToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("ToolBar1"));
  toolBar_->setIconSize(QSize(24, 24));
  struct StepButton {
    const char* name;
    QStyle::StandardPixmap icon;
    const char* tip;
    void (TfrmRecord::*slot)();
  };
  const StepButton stepButtons[] = {
      {"beginbtn", QStyle::SP_MediaSkipBackward, "First frame", &TfrmRecord::beginbtnClick},
      {"backwardbtn", QStyle::SP_MediaSeekBackward, "Previous frame", &TfrmRecord::backwardbtnClick},
      {"Farwardbtn", QStyle::SP_MediaSeekForward, "Next frame", &TfrmRecord::FarwardbtnClick},
      {"endbtn", QStyle::SP_MediaSkipForward, "Last frame", &TfrmRecord::endbtnClick},
  };
  for (const StepButton& s : stepButtons) {
    auto* b = new QToolButton(toolBar_);
    b->setObjectName(QString::fromLatin1(s.name));
    b->setIcon(style()->standardIcon(s.icon));
    b->setToolTip(QString::fromLatin1(s.tip));
    connect(b, &QToolButton::clicked, this, s.slot);
    toolBar_->addWidget(b);
  }
  frameLabel_ = new QLabel(toolBar_);
  frameLabel_->setObjectName(QStringLiteral("FrameLabel"));
  frameLabel_->setContentsMargins(8, 0, 8, 0);
  toolBar_->addWidget(frameLabel_);
  auto* autocount = new QToolButton(toolBar_);
  autocount->setObjectName(QStringLiteral("autocountbtn"));
  autocount->setCheckable(true);
  autocount->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));  // image 4 (up)
  autocount->setText(QStringLiteral("Autocount"));
  autocount->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  autocount->setToolTip(QStringLiteral("Down on the first frame, up on the last: count those frames"));
  connect(autocount, &QToolButton::clicked, this, &TfrmRecord::AutocountbtnClick);
  toolBar_->addWidget(autocount);
  toolBar_->addSeparator();
  auto* close = new QToolButton(toolBar_);
  close->setObjectName(QStringLiteral("BitBtn1"));
  close->setText(QStringLiteral("Close"));
  close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  close->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  connect(close, &QToolButton::clicked, this, &QWidget::close);
  toolBar_->addWidget(close);
}

void TfrmRecord::createPanel() {
  panel3_ = new QWidget(this);
  panel3_->setObjectName(QStringLiteral("Panel3"));
  panel3_->setFixedWidth(kPanelWidth);
  panel3_->setAutoFillBackground(true);
  panel3_->installEventFilter(this);  // places the edits when its height changes
  label2_ = new QLabel(QStringLiteral("00:00:00"), panel3_);
  label2_->setObjectName(QStringLiteral("Label2"));
  label2_->setGeometry(6, 4, kPanelWidth - 12, 20);
  totalLabel_ = new QLabel(QStringLiteral("Total"), panel3_);
  totalLabel_->setObjectName(QStringLiteral("TotalLabel"));
  totalLabel_->setGeometry(6, 24, 36, 24);
  label1_ = new QLabel(QStringLiteral("0"), panel3_);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setGeometry(42, 24, kPanelWidth - 48, 24);
  label1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont big = label1_->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  label1_->setFont(big);
  for (int n = 1; n <= kMaxChannels; ++n) {
    auto* label = new QLabel(QStringLiteral("Counter %1").arg(n), panel3_);
    label->setObjectName(QStringLiteral("LabeledEdit%1Label").arg(n));
    auto* edit = new QLineEdit(QStringLiteral("0"), panel3_);
    edit->setObjectName(QStringLiteral("LabeledEdit%1").arg(n));
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight);
    auto* live = new QLabel(panel3_);
    live->setObjectName(QStringLiteral("LiveLabel%1").arg(n));
    live->setWordWrap(true);
    editLabels_[static_cast<size_t>(n)] = label;
    edits_[static_cast<size_t>(n)] = edit;
    liveLabels_[static_cast<size_t>(n)] = live;
  }
  channelinfo1x_ = new QGroupBox(panel3_);
  channelinfo1x_->setObjectName(QStringLiteral("channelinfo1x"));
  channelcount1_ = new QLabel(QStringLiteral("0"), channelinfo1x_);
  channelcount1_->setObjectName(QStringLiteral("channelcount1"));
  channelweight1_ = new QLabel(QString(), channelinfo1x_);
  channelweight1_->setObjectName(QStringLiteral("channelweight1"));
  channelinfo1x_->hide();
  stillaafteljara();
}

void TfrmRecord::createShortcuts() {
  // Each key presses its button, so a key does what the button does, and
  // nothing while the button is disabled.
  struct Key {
    QKeySequence key;
    const char* button;
  };
  const Key keys[] = {
      {QKeySequence(Qt::Key_Home), "beginbtn"},          {QKeySequence(Qt::ALT | Qt::Key_B), "beginbtn"},
      {QKeySequence(Qt::Key_Left), "backwardbtn"},       {QKeySequence(Qt::ALT | Qt::Key_P), "backwardbtn"},
      {QKeySequence(Qt::Key_Right), "Farwardbtn"},       {QKeySequence(Qt::ALT | Qt::Key_N), "Farwardbtn"},
      {QKeySequence(Qt::Key_End), "endbtn"},             {QKeySequence(Qt::ALT | Qt::Key_E), "endbtn"},
      {QKeySequence(Qt::ALT | Qt::Key_A), "autocountbtn"}, {QKeySequence(Qt::ALT | Qt::Key_C), "BitBtn1"},
      {QKeySequence(Qt::Key_Escape), "BitBtn1"},
  };
  for (const Key& k : keys) {
    QToolButton* b = button(k.button);
    auto* shortcut = new QShortcut(k.key, this);
    connect(shortcut, &QShortcut::activated, b, &QToolButton::click);
  }
  // The track bar and the read-only counts would take the arrows, Home and
  // End for themselves; in this window they move through the frames.
  trackBar_->installEventFilter(this);
  for (int n = 1; n <= kMaxChannels; ++n) edits_[static_cast<size_t>(n)]->installEventFilter(this);
}

QWidget* TfrmRecord::PaintBox1() const { return picture_; }

QToolButton* TfrmRecord::button(const char* name) const {
  return toolBar_->findChild<QToolButton*>(QString::fromLatin1(name));
}

void TfrmRecord::beginOpen() {
  engine_->beginOpen();
  // The detection appends a line for every accepted object to the trace file.
  // It is made afresh, and never through a symbolic link someone left there.
  if (!createWithoutFollowing(env_.tracePath, trace_)) trace_.close();
  engine_->context().trace = trace_.is_open() ? &trace_ : nullptr;
}

void TfrmRecord::OpenBlbFile() {
  beginOpen();
  const std::string folder = recordDialogFolder(env_.controls->reportpath.text(), QDir::homePath().toStdString());
  const std::optional<std::string> path = dialogs_->chooseRecordFile(folder, kRecordFileFilter);
  refresh();
  if (!path) return;
  loadFile(*path);
}

bool TfrmRecord::openRecordFile(const std::string& path) {
  const FileProblem problem = regularFileProblem(path);
  if (problem != FileProblem::kNone) {
    dialogs_->showError(cannotOpenMessage(path, problem));
    return false;
  }
  beginOpen();
  refresh();
  return loadFile(path);
}

bool TfrmRecord::loadFile(const std::string& path) {
  env_.session->RunFlag = false;
  // Saved now, reloaded when the viewer closes: the recording's settings
  // replace the working copy meanwhile. While a recording is open its
  // settings ARE the working copy, so a second file must not save them over
  // the user's own.
  if (!settingsReplaced_) (void)Write_Registry(*env_.settings, *env_.controls, *env_.store);
  // A fresh reporter for the new file; the one of the file on show stays
  // with it until the new one is open.
  auto damage = std::make_unique<OperatorDamageReporter>();
  const std::optional<RecordingReport> reading = readRecordingReport(path, *env_.store);
  OpenedRecording opened = openRecording(path, reading, recountContext(), picture_->width(), damage.get());
  if (opened.error == RecordingOpenError::kNoReport) {
    dialogs_->showError(noReportMessage(path));
    return false;
  }
  settingsReplaced_ = true;
  if (!opened.engine) {
    // Nothing to show: the user's settings come back at once.
    engine_->closeRecord();
    if (isVisible()) {
      close();
    } else {
      FormClose();
    }
    FileProblem problem = regularFileProblem(path);
    if (problem == FileProblem::kNone) problem = FileProblem::kUnreadable;
    dialogs_->showError(cannotOpenMessage(path, problem));
    return false;
  }
  engine_ = std::move(opened.engine);
  damage_ = std::move(damage);
  ChannelArray<std::optional<int32_t>> live{};
  for (int c = 1; c <= kMaxChannels; ++c) live[c] = reading->report.channels[c].Counters;
  comparison_->setRecording(engine_->state().TotalLines, opened.recording.StartTime, env_.settings->NrChannels, live);
  // An Autocount button left down marks the new file from its first frame.
  if (button("autocountbtn")->isChecked()) engine_->AutocountbtnClick(true);
  recording_ = std::move(opened.recording);
  setWindowTitle(QString::fromStdString(recording_.Caption));
  for (int n = 1; n <= kMaxChannels; ++n) {
    editLabels_[static_cast<size_t>(n)]->setText(QString::fromStdString(recording_.CountLabels[n]));
  }
  for (int i = 0; i < kMaxChannels; ++i) {
    QAreaSeries* area = series_[static_cast<size_t>(i)];
    QLineSeries* upper = area->upperSeries();
    upper->clear();
    QList<QPointF> points;
    for (const ChartPoint& p : recording_.Series[i + 1]) points.append(QPointF(chartMs(p.x), p.y));
    upper->replace(points);
  }
  double minX = 0, maxX = 0, maxY = 1;
  bool first = true;
  for (int n = 1; n <= env_.settings->NrChannels; ++n) {
    for (const ChartPoint& p : recording_.Series[n]) {
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
      minX = first ? p.x : std::min(minX, p.x);
      maxX = first ? p.x : std::max(maxX, p.x);
      maxY = std::max(maxY, p.y);
      first = false;
    }
  }
  // The recording's own stretch is on the chart too, and the session
  // outside it is veiled.
  const double recFirst = comparison_->firstTime();
  const double recLast = comparison_->lastTime();
  const bool anyLive = !first;
  veils_[0]->upperSeries()->clear();
  veils_[1]->upperSeries()->clear();
  if (anyLive && minX < recFirst) veils_[0]->upperSeries()->replace({QPointF(chartMs(minX), maxY), QPointF(chartMs(recFirst), maxY)});
  if (anyLive && maxX > recLast) veils_[1]->upperSeries()->replace({QPointF(chartMs(recLast), maxY), QPointF(chartMs(maxX), maxY)});
  minX = anyLive ? std::min(minX, recFirst) : recFirst;
  maxX = anyLive ? std::max(maxX, recLast) : recLast;
  if (maxX <= minX) maxX = minX + 1.0 / 24;
  axisX_->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(chartMs(minX)), QTimeZone::utc()),
                   QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(chartMs(maxX)), QTimeZone::utc()));
  axisY_->setRange(0, maxY);

  if (isVisible()) {
    // Already on screen: show frame 1 of the new file now, as a first
    // showing would.
    FormShow();
  } else {
    fileShown_ = false;
    showMaximized();
  }
  showSeries(0);
  refresh();
  reportDamage();
  return true;
}

void TfrmRecord::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (engine_->isOpen() && !fileShown_) FormShow();
}

void TfrmRecord::FormShow() {
  fileShown_ = true;
  stillaafteljara();
  engine_->setFrameWidth(picture_->width());
  engine_->show();
  refresh();
  reportDamage();
}

void TfrmRecord::PaintBox1Paint(QPainter& p, int width, int height) const {
  // The frame is drawn when drawing is on.
  if (engine_->state().DrawOn) {
    teiknaramman(p, width, height);
  } else {
    p.fillRect(0, 0, width, height, Qt::white);
  }
}

void TfrmRecord::pictureResized(int width) {
  if (!engine_->isOpen()) return;
  engine_->setFrameWidth(width);
  refresh();
  reportDamage();
}

void TfrmRecord::stillaafteljara() {
  const int nr = std::clamp(env_.settings->NrChannels, 1, kMaxChannels);
  const int h = panel3_->height();
  for (int i = 1; i <= kMaxChannels; ++i) {
    QLabel* label = editLabels_[static_cast<size_t>(i)];
    QLineEdit* edit = edits_[static_cast<size_t>(i)];
    // The middle of the channel's band; channels not in use out of sight.
    const int top = i <= nr ? h * (2 * i - 1) / (2 * nr) : -1000;
    edit->setGeometry(6, top, kPanelWidth - 12, 24);
    label->setGeometry(6, top - 18, kPanelWidth - 8, 18);
    liveLabels_[static_cast<size_t>(i)]->setGeometry(6, top + 25, kPanelWidth - 8, 34);
  }
}

void TfrmRecord::showSeries(int index) {
  for (int i = 0; i < kMaxChannels; ++i) series_[static_cast<size_t>(i)]->setVisible(i == index);
  label3_->setText(QString::fromStdString(recording_.ChannelNames[index + 1]));
  label3_->adjustSize();
  showComparison();
}

void TfrmRecord::showComparison() {
  const ViewerCounts& v = *env_.counts;
  for (int n = 1; n <= kMaxChannels; ++n) {
    QLabel* label = liveLabels_[static_cast<size_t>(n)];
    const std::optional<int32_t> live = engine_->isOpen() ? comparison_->liveCount(n) : std::nullopt;
    if (!live) {
      label->clear();
      continue;
    }
    QString text = QStringLiteral("Live %1").arg(*live);
    const std::optional<int64_t> difference = comparison_->difference(n, v.ViewerCount[n]);
    if (difference) {
      const QString sign = *difference > 0 ? QStringLiteral("+") : QString();
      text += *difference == 0 ? QStringLiteral("<br>Difference 0")
                               : QStringLiteral("<br><b style='color:%1'>Difference %2%3</b>")
                                     .arg(kDifferenceColour.name(), sign)
                                     .arg(*difference);
    }
    label->setText(text);
  }
  const int channel = activeSeries() + 1;
  QList<QPointF> points;
  if (channel >= 1 && engine_->isOpen()) {
    double top = axisY_->max();
    for (const ChartPoint& p : comparison_->recountCurve(channel)) {
      points.append(QPointF(chartMs(p.x), p.y));
      top = std::max(top, p.y);
    }
    if (top > axisY_->max()) axisY_->setMax(top);
  }
  recountSeries_->replace(points);
}

void TfrmRecord::Chart1DblClick(double x) {
  if (!engine_->isOpen()) return;
  const std::optional<int32_t> frame = comparison_->frameAt(x, engine_->frameWidth());
  if (!frame) return;
  engine_->jumpToFrame(*frame);
  refresh();
  reportDamage();
}

double TfrmRecord::chartTimeAt(const QPoint& position) const {
  const QPointF scene = chartView_->mapToScene(position);
  const QPointF inChart = chart_->mapFromScene(scene);
  return chartDays(chart_->mapToValue(inChart, series_[0]).x());
}

int TfrmRecord::activeSeries() const {
  for (int i = 0; i < kMaxChannels; ++i) {
    if (series_[static_cast<size_t>(i)]->isVisible()) return i;
  }
  return -1;
}

void TfrmRecord::Chart1Click() {
  const int nr = env_.settings->NrChannels;
  if (nr < 2) return;
  int i = 0;
  while (i < nr - 1 && !series_[static_cast<size_t>(i)]->isVisible()) ++i;
  showSeries(i + 1 < nr ? i + 1 : 0);
}

void TfrmRecord::step(void (RecountEngine::*move)()) {
  ((*engine_).*move)();
  refresh();
  reportDamage();
}

void TfrmRecord::beginbtnClick() { step(&RecountEngine::beginbtnClick); }
void TfrmRecord::backwardbtnClick() { step(&RecountEngine::backwardbtnClick); }
void TfrmRecord::FarwardbtnClick() { step(&RecountEngine::FarwardbtnClick); }
void TfrmRecord::endbtnClick() { step(&RecountEngine::endbtnClick); }

void TfrmRecord::AutocountbtnClick() {
  QToolButton* b = button("autocountbtn");
  const bool down = b->isChecked();
  b->setIcon(style()->standardIcon(down ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));  // image 5 / 4
  engine_->AutocountbtnClick(down);
  refresh();
  reportDamage();
}

void TfrmRecord::trackBarMoved(int position) {
  engine_->moveTrackBar(position);
  refresh();
  reportDamage();
}

void TfrmRecord::refresh() {
  const RecordViewerState& st = engine_->state();
  const ViewerCounts& v = *env_.counts;
  int64_t sum = 0;
  for (int n = 1; n <= kMaxChannels; ++n) {
    edits_[static_cast<size_t>(n)]->setText(QString::number(v.ViewerCount[n]));
    sum += v.ViewerCount[n];
  }
  label1_->setText(QString::number(sum));
  frameLabel_->setText(engine_->isOpen() ? QStringLiteral("Frame %1 / %2").arg(st.CurrentFrame).arg(st.FrameCount)
                                         : QString());
  channelcount1_->setText(QString::number(v.ViewerCount[1]));
  if (v.WeightSamples[1] > 0) {
    channelweight1_->setText(QString::fromStdString(
        formatFixed(static_cast<double>(v.WeightSum[1] / v.WeightSamples[1]), 0)));
  }
  const double firstLineTime =
      recording_.StartTime + static_cast<double>(st.FirstLine) / kLinesPerSecond / 3600 / 24;
  label2_->setText(QString::fromStdString(formatDayCount("hh:mm:ss", firstLineTime)));
  button("beginbtn")->setEnabled(st.beginEnabled);
  button("backwardbtn")->setEnabled(st.backwardEnabled);
  button("Farwardbtn")->setEnabled(st.forwardEnabled);
  button("endbtn")->setEnabled(st.endEnabled);
  button("autocountbtn")->setEnabled(engine_->isOpen());
  {
    // The model holds the track bar; the slider only shows it.
    const QSignalBlocker block(trackBar_);
    trackBar_->setRange(st.TrackBar1.Min, st.TrackBar1.Max);
    trackBar_->setValue(st.TrackBar1.Position);
  }
  trackBar_->setSelection(st.TrackBar1.SelStart, st.TrackBar1.SelEnd);
  showComparison();
  picture_->update();
}

void TfrmRecord::reportDamage() {
  // The readers find a file's damage as it opens, so this is one box, once
  // the file is on show.
  const std::string warning = damage_->takeWarning();
  if (!warning.empty()) dialogs_->showWarning(warning);
}

int TfrmRecord::skal(int32_t pixel, int height) const {
  const SettingsVariables& s = *env_.settings;
  const double span = static_cast<double>(s.RightEdge) - s.LeftEdge;
  if (span <= 0) return 0;
  const double y = (static_cast<double>(pixel) - s.LeftEdge) / span * height;
  return static_cast<int>(std::clamp(std::trunc(y), -1e6, 1e6));
}

void TfrmRecord::teiknaramman(QPainter& p, int width, int height) const {
  p.fillRect(0, 0, width, height, Qt::white);
  p.setPen(kNavy);
  const int32_t columns = std::min(engine_->state().ColumnCount, width);
  for (int32_t c = 0; c < columns; ++c) {
    const FrameColumn& column = engine_->column(c);
    for (int j = 0; j < column.Count; ++j) {
      p.drawLine(c, skal(column.Pairs[static_cast<size_t>(j)].Start, height), c,
                 skal(column.Pairs[static_cast<size_t>(j)].End, height));
    }
  }
  teiknaskilrum(p, width, height);
}

void TfrmRecord::teiknaskilrum(QPainter& p, int width, int height) const {
  const SettingsVariables& s = *env_.settings;
  const QColor face = palette().color(QPalette::Button);
  for (int k = 1; k < std::min(s.NrChannels, kMaxChannels); ++k) {
    const int a = skal(s.ChannelPositions[k].End, height);
    const int b = skal(s.ChannelPositions[k + 1].Begin, height);
    if (b > a) p.fillRect(0, a, width, b - a, face);
    p.setPen(face);
    p.drawLine(0, a - 1, width, a - 1);
    p.setPen(Qt::white);
    p.drawLine(0, a, width, a);
    p.setPen(kGrey);
    p.drawLine(0, b, width, b);
    p.setPen(Qt::black);
    p.drawLine(0, b + 1, width, b + 1);
  }
  p.setPen(kNavy);
}

bool TfrmRecord::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride && watched != chartView_->viewport() && watched != panel3_) {
    // Left unaccepted, the key goes to this window's shortcuts.
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Home:
      case Qt::Key_End:
        return true;
      default:
        break;
    }
  }
  if (watched == chartView_->viewport() && event->type() == QEvent::MouseButtonPress) {
    clickTimer_->start();
    return true;
  }
  if (watched == chartView_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    clickTimer_->stop();
    Chart1DblClick(chartTimeAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
    return true;
  }
  if (watched == chartView_ && event->type() == QEvent::Resize) {
    legend_->move(chartView_->width() - legend_->width() - 8, 4);
  }
  if (watched == panel3_ && event->type() == QEvent::Resize) stillaafteljara();
  return QWidget::eventFilter(watched, event);
}

void TfrmRecord::closeEvent(QCloseEvent* event) {
  FormClose();
  QWidget::closeEvent(event);
}

void TfrmRecord::FormClose() {
  // The user's own settings come back.
  Read_Registry(*env_.settings, *env_.controls, *env_.store);
  setDetectionConstants(*env_.detection, env_.settings->ChannelWidthMm);
  if (trace_.is_open()) trace_.close();
  engine_->context().trace = nullptr;
  engine_->resetLines();
  env_.session->RunFlag = false;
  fileShown_ = false;
  settingsReplaced_ = false;
}
