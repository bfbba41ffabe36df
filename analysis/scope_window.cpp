#include "analysis/scope_window.h"

#include <QChart>
#include <QChartView>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QValueAxis>
#include <QVBoxLayout>

#include "settings/registry.h"
#include "widgets/fonts.h"

namespace {

// The edge fields hold values the check refuses, so it can refuse them.
constexpr int kFieldMinimum = -100000;
constexpr int kFieldMaximum = 100000;


// Designed sizes, at kDesignSize.
constexpr int kMargin = 4;
constexpr int kSpacing = 4;
constexpr int kFieldWidth = 64;
constexpr int kKeyboardButtonWidth = 33;
constexpr int kZoomButtonWidth = 49;
constexpr int kButtonWidth = 65;
constexpr int kCheckButtonWidth = 97;

const QColor kBarColour(Qt::red);

QPushButton* button(QWidget* parent, const char* name, const char* caption, int width) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setFixedWidth(width);
  b->setAutoDefault(false);  // Enter in an edge field closes nothing
  return b;
}

}  // namespace

void QtScopeDialogs::showError(const std::string& text) {
  QMessageBox::critical(parent_, QString(), QString::fromStdString(text), QMessageBox::Ok);
}

ScopeBarSeries::ScopeBarSeries(QObject* parent) : QAreaSeries(parent) {
  setUpperSeries(new QLineSeries(this));
}

void ScopeBarSeries::clear() {
  bars_.clear();
  redraw();
}

void ScopeBarSeries::addBar(int32_t x) {
  bars_.push_back(x);
  redraw();
}

void ScopeBarSeries::setHalfWidth(double halfWidth) {
  halfWidth_ = halfWidth;
  redraw();
}

void ScopeBarSeries::redraw() {
  QList<QPointF> points;
  for (const auto& [x, y] : barOutline(bars_, halfWidth_, kScopeBarHeight)) points.append(QPointF(x, y));
  upperSeries()->replace(points);
}

Tfrmscope::Tfrmscope(const ScopeWindowEnvironment& environment, QWidget* parent)
    : QDialog(parent), env_(environment), dialogs_(environment.dialogs, this) {
  Q_ASSERT(env_.settings && env_.controls && env_.store && env_.camera);
  setObjectName(QStringLiteral("frmscope"));
  setWindowTitle(QStringLiteral("Visibility scope"));

  // 80 % of the screen, truncated; everything designed in scales with the width.
  const QSize size = env_.screen.isEmpty()
                         ? kDesignSize
                         : QSize(static_cast<int>(int64_t{env_.screen.width()} * 4 / 5),
                                 static_cast<int>(int64_t{env_.screen.height()} * 4 / 5));
  scaleNumerator_ = size.width();
  scaleDenominator_ = kDesignSize.width();
  setFont(scaledFont(font(), scaleNumerator_, scaleDenominator_));

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(scaled(kMargin), scaled(kMargin), scaled(kMargin), scaled(kMargin));
  column->setSpacing(scaled(kSpacing));
  createChart();
  column->addWidget(Chart1, 1);

  doubleClicks_ = new DoubleClicks(this);
  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(scaled(kSpacing));
  GroupBox2 = createEdgeGroup("GroupBox2", "Left edge position", byrjun, "byrjun", byr, "byr", BitBtn4, "BitBtn4");
  GroupBox1 = createEdgeGroup("GroupBox1", "Right edge position", endir, "endir", enda, "enda", BitBtn2, "BitBtn2");
  BitBtn3 = button(this, "BitBtn3", "Zoom out", scaled(kButtonWidth));
  BitBtn5 = button(this, "BitBtn5", "Check Visibility", scaled(kCheckButtonWidth));
  BitBtn1 = button(this, "BitBtn1", "Close", scaled(kButtonWidth));
  bottom->addWidget(GroupBox2);
  bottom->addWidget(GroupBox1);
  bottom->addStretch(1);
  for (QPushButton* b : {BitBtn3, BitBtn5, BitBtn1}) bottom->addWidget(b, 0, Qt::AlignBottom);
  column->addLayout(bottom);

  connect(byr, &QPushButton::clicked, this, [this] { emit keyboardRequested(byrjun, true); });
  connect(enda, &QPushButton::clicked, this, [this] { emit keyboardRequested(endir, true); });
  connect(doubleClicks_, &DoubleClicks::doubleClicked, this,
          [this](QWidget* field) { emit keyboardRequested(field, true); });
  for (QSpinBox* field : {byrjun, endir}) {
    // The spin box tells of a new number; its editor also of text that is no
    // number yet (empty, a lone sign), which the bars show as 0.
    connect(field, &QSpinBox::textChanged, this, &Tfrmscope::byrjunChange);
    if (auto* edit = field->findChild<QLineEdit*>()) {
      connect(edit, &QLineEdit::textChanged, this, &Tfrmscope::byrjunChange);
    }
  }
  connect(BitBtn4, &QPushButton::clicked, this, &Tfrmscope::BitBtn4Click);
  connect(BitBtn2, &QPushButton::clicked, this, &Tfrmscope::BitBtn2Click);
  connect(BitBtn3, &QPushButton::clicked, this, &Tfrmscope::BitBtn3Click);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
  // BitBtn5 "Check Visibility" has nothing behind it.

  resize(size);
}

Tfrmscope::~Tfrmscope() = default;

int Tfrmscope::scaled(int designed) const {
  return static_cast<int>(int64_t{designed} * scaleNumerator_ / scaleDenominator_);
}

void Tfrmscope::createChart() {
  auto* chart = new QChart;
  chart->legend()->hide();
  chart->setBackgroundRoundness(0);
  chart->setDropShadowEnabled(false);
  chart->setMargins(QMargins(scaled(2), scaled(2), scaled(2), scaled(2)));
  bottomAxis = new QValueAxis(chart);
  bottomAxis->setObjectName(QStringLiteral("bottomAxis"));
  bottomAxis->setLabelFormat(QStringLiteral("%d"));
  leftAxis = new QValueAxis(chart);
  leftAxis->setObjectName(QStringLiteral("leftAxis"));
  leftAxis->setLabelFormat(QStringLiteral("%d"));
  leftAxis->setTitleText(QStringLiteral("Light strength"));
  leftAxis->setRange(0, kScopeBarHeight);
  for (QValueAxis* axis : {bottomAxis, leftAxis}) {
    axis->setLabelsFont(scaledFont(axis->labelsFont(), scaleNumerator_, scaleDenominator_));
    axis->setTitleFont(scaledFont(axis->titleFont(), scaleNumerator_, scaleDenominator_));
  }
  chart->addAxis(bottomAxis, Qt::AlignBottom);
  chart->addAxis(leftAxis, Qt::AlignLeft);

  auto line = [chart](const char* name) {
    auto* s = new QLineSeries(chart);
    s->setObjectName(QString::fromLatin1(name));
    s->setName(QString::fromLatin1(name));
    return s;
  };
  Series1 = line("Series1");
  Series2 = line("Series2");
  Series3 = new ScopeBarSeries(chart);
  Series3->setObjectName(QStringLiteral("Series3"));
  Series3->setName(QStringLiteral("Series3"));
  Series3->setBrush(kBarColour);
  Series3->setPen(Qt::NoPen);  // a border would also run along the baseline between the bars
  Series4 = line("Series4");
  Series5 = line("Series5");
  Series6 = line("Series6");
  Series7 = line("Series7");
  for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{Series1, Series2, Series3, Series4, Series5,
                                                                    Series6, Series7}) {
    chart->addSeries(s);
    s->attachAxis(bottomAxis);
    s->attachAxis(leftAxis);
  }
  // A bar keeps its share of the axis at every zoom.
  connect(bottomAxis, &QValueAxis::rangeChanged, Series3,
          [this](qreal min, qreal max) { Series3->setHalfWidth((max - min) * kScopeBarWidthShare / 2); });
  setRange(shownRange(env_.camera->LineWidth));

  Chart1 = new QChartView(chart, this);
  Chart1->setObjectName(QStringLiteral("Chart1"));
  Chart1->setRenderHint(QPainter::Antialiasing);
}

QGroupBox* Tfrmscope::createEdgeGroup(const char* name, const char* caption, QSpinBox*& field,
                                      const char* fieldName, QPushButton*& keyboard, const char* keyboardName,
                                      QPushButton*& zoom, const char* zoomName) {
  auto* box = new QGroupBox(QString::fromUtf8(caption), this);
  box->setObjectName(QString::fromLatin1(name));
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(scaled(kMargin), scaled(kMargin), scaled(kMargin), scaled(kMargin));
  row->setSpacing(scaled(kSpacing));
  field = new QSpinBox(box);
  field->setObjectName(QString::fromLatin1(fieldName));
  field->setRange(kFieldMinimum, kFieldMaximum);
  field->setFixedWidth(scaled(kFieldWidth));
  if (auto* edit = field->findChild<QLineEdit*>()) doubleClicks_->watch(edit, field);
  keyboard = button(box, keyboardName, "....", scaled(kKeyboardButtonWidth));
  zoom = button(box, zoomName, "Zoom", scaled(kZoomButtonWidth));
  row->addWidget(field);
  row->addWidget(keyboard);
  row->addWidget(zoom);
  return box;
}

void Tfrmscope::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void Tfrmscope::FormShow() {
  const SettingsVariables& s = *env_.settings;
  setRange(shownRange(env_.camera->LineWidth));
  byrjun->setValue(s.LeftEdge);
  endir->setValue(s.RightEdge);
  showBars(scopeBars(s));
}

void Tfrmscope::byrjunChange() {
  showBars(edgeBars(scopeFieldValue(byrjun->cleanText().toStdString()),
                    scopeFieldValue(endir->cleanText().toStdString())));
}

void Tfrmscope::BitBtn4Click() { zoomOnto(leftEdgeBar(Series3->bars().size())); }

void Tfrmscope::BitBtn2Click() { zoomOnto(rightEdgeBar(*env_.settings, Series3->bars().size())); }

void Tfrmscope::BitBtn3Click() { setRange(wholeLineRange(env_.camera->LineWidth)); }

void Tfrmscope::zoomOnto(std::optional<std::size_t> bar) {
  if (bar) setRange(zoomRange(Series3->bars()[*bar]));
}

void Tfrmscope::setRange(const AxisRange& range) {
  bottomAxis->setRange(static_cast<qreal>(range.min), static_cast<qreal>(range.max));
}

void Tfrmscope::showBars(const std::vector<int32_t>& bars) {
  Series3->clear();
  for (int32_t x : bars) Series3->addBar(x);
}

void Tfrmscope::done(int result) {
  // The fields as they read now; an empty one counts as 0, as in the bars.
  const int32_t left = scopeFieldValue(byrjun->cleanText().toStdString());
  const int32_t right = scopeFieldValue(endir->cleanText().toStdString());
  if (const std::optional<std::string> error = storeEdges(*env_.settings, left, right, env_.camera->LineWidth)) {
    dialogs_->showError(*error);
  } else {
    showBars(edgeBars(env_.settings->LeftEdge, env_.settings->RightEdge));
    if (!Write_Registry(*env_.settings, *env_.controls, *env_.store)) dialogs_->showError(kSettingsNotSavedMessage);
  }
  QDialog::done(result);
}
