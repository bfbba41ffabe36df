#include "records/debug_viewer_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "analysis/detection_state.h"
#include "analysis/viewer_counts.h"
#include "records/record_viewer_window.h"
#include "settings/registry.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"

namespace {

constexpr int kPanelWidth = 105;
constexpr int kTickHeight = 20;
constexpr int kCrossBar = 3;
constexpr int kTextGap = 5;
constexpr int kMarkerFontSize = 4;
const char* const kViewItems[] = {"Area", "Length", "Width", "Pos file", "Posi width", "Mean Weight"};

// A pen colour of the engine (blue in the high byte) as Qt's.
QColor toolkitColour(uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

QLineEdit* newEdit(const char* name, QWidget* parent, bool readOnly = true) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setReadOnly(readOnly);
  return e;
}

// A group box holding its widgets one under the other.
QGroupBox* newGroup(const char* name, const QString& title, QWidget* parent) {
  auto* g = new QGroupBox(title, parent);
  g->setObjectName(QString::fromLatin1(name));
  auto* l = new QVBoxLayout(g);
  l->setContentsMargins(4, 2, 4, 2);
  l->setSpacing(2);
  return g;
}

}  // namespace

// PaintBox1: paints what the window draws and passes the clicks on.
class DebugPicture : public QWidget {
 public:
  DebugPicture(TForm4* form, QWidget* parent) : QWidget(parent), form_(form) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    form_->PaintBox1Paint(p, width(), height());
  }
  void mousePressEvent(QMouseEvent* event) override { form_->PaintBox1MouseDown(event->position().toPoint()); }

 private:
  TForm4* form_;
};

TForm4::TForm4(const DebugViewerEnvironment& environment, QWidget* parent) : QDialog(parent), env_(environment) {
  Q_ASSERT(env_.detection && env_.settings && env_.counts && env_.controls && env_.store && env_.session &&
           env_.camera);
  if (env_.dialogs) {
    dialogs_ = env_.dialogs;
  } else {
    qtDialogs_ = std::make_unique<QtRecordViewerDialogs>(this);
    dialogs_ = qtDialogs_.get();
  }
  DebugViewerContext ctx;
  ctx.detection = env_.detection;
  ctx.settings = env_.settings;
  ctx.counts = env_.counts;
  ctx.controls = env_.controls;
  ctx.display = env_.sizeDisplay;
  ctx.linesPerBuffer = env_.camera->LinesPerBuffer;
  ctx.session = env_.session;
  engine_ = std::make_unique<DebugViewerEngine>(ctx);

  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("View File"));
  resize(800, 600);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  createPanel();
  layout->addWidget(panel1_);
  picture_ = new DebugPicture(this, this);
  picture_->setObjectName(QStringLiteral("PaintBox1"));
  layout->addWidget(picture_, 1);
  refresh();
}

TForm4::~TForm4() = default;

void TForm4::createPanel() {
  panel1_ = new QWidget(this);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel1_->setFixedWidth(kPanelWidth);
  auto* l = new QVBoxLayout(panel1_);
  l->setContentsMargins(4, 4, 4, 4);
  l->setSpacing(3);

  // Enter belongs to Edit3 (the next window), never to a default button.
  auto button = [this](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, panel1_);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
  };
  open_ = button("open", QStringLiteral("Open"));
  l->addWidget(open_);
  auto* nextRow = new QHBoxLayout;
  nextRow->setSpacing(2);
  next_ = button("next", QStringLiteral("Next"));
  nextRow->addWidget(next_, 1);
  speedButton1_ = new QToolButton(panel1_);
  speedButton1_->setObjectName(QStringLiteral("SpeedButton1"));
  speedButton1_->setArrowType(Qt::RightArrow);
  speedButton1_->setToolTip(QStringLiteral("Skip 5 minutes"));
  nextRow->addWidget(speedButton1_);
  l->addLayout(nextRow);
  bitBtn1_ = button("BitBtn1", QStringLiteral("&Close"));
  l->addWidget(bitBtn1_);

  QGroupBox* totalGroup = newGroup("GroupBoxTotal", QStringLiteral("Total"), panel1_);
  total_ = newEdit("Total", totalGroup);
  totalGroup->layout()->addWidget(total_);
  l->addWidget(totalGroup);
  QGroupBox* windowGroup = newGroup("GroupBoxWindow", QStringLiteral("Window"), panel1_);
  edit4_ = newEdit("Edit4", windowGroup);
  windowGroup->layout()->addWidget(edit4_);
  l->addWidget(windowGroup);

  panel2_ = new QWidget(panel1_);
  panel2_->setObjectName(QStringLiteral("Panel2"));
  auto* p2 = new QVBoxLayout(panel2_);
  p2->setContentsMargins(0, 0, 0, 0);
  p2->setSpacing(2);
  QGroupBox* manual = newGroup("GroupBoxManual", QStringLiteral("Manual "), panel2_);
  handtal_ = new QCheckBox(QStringLiteral("Count"), manual);
  handtal_->setObjectName(QStringLiteral("handtal"));
  edit5_ = newEdit("Edit5", manual);
  edit3_ = newEdit("Edit3", manual, false);
  manual->layout()->addWidget(handtal_);
  manual->layout()->addWidget(edit5_);
  manual->layout()->addWidget(edit3_);
  p2->addWidget(manual);

  QGroupBox* viewBox = newGroup("view", QStringLiteral("View"), panel2_);
  view_ = new QButtonGroup(viewBox);
  for (int i = 0; i < 6; ++i) {
    auto* r = new QRadioButton(QString::fromUtf8(kViewItems[i]), viewBox);
    viewBox->layout()->addWidget(r);
    view_->addButton(r, i);
  }
  view_->button(0)->setChecked(true);
  p2->addWidget(viewBox);

  edit2_ = newEdit("Edit2", panel2_);
  p2->addWidget(edit2_);
  hradspolun_ = new QCheckBox(QStringLiteral("Hraðspólun"), panel2_);
  hradspolun_->setObjectName(QStringLiteral("Hradspolun"));
  p2->addWidget(hradspolun_);
  auto labelled = [this, p2](const char* name, const QString& caption) {
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    auto* label = new QLabel(caption, panel2_);
    row->addWidget(label);
    QLineEdit* e = newEdit(name, panel2_);
    e->setMaximumWidth(45);
    row->addWidget(e);
    p2->addLayout(row);
    return e;
  };
  count_ = labelled("count", QStringLiteral("Counts"));
  estimt_ = labelled("estimt", QStringLiteral("Estim Siz"));

  QGroupBox* activeBox = newGroup("ActiveC", QStringLiteral("ActiveC"), panel2_);
  activeC_ = new QButtonGroup(activeBox);
  // Two columns: four captions side by side do not fit the panel.
  auto* channels = new QGridLayout;
  channels->setSpacing(0);
  for (int i = 0; i < kMaxChannels; ++i) {
    auto* r = new QRadioButton(QStringLiteral("C%1").arg(i + 1), activeBox);
    channels->addWidget(r, i / 2, i % 2);
    activeC_->addButton(r, i);
  }
  static_cast<QVBoxLayout*>(activeBox->layout())->addLayout(channels);
  activeC_->button(0)->setChecked(true);
  p2->addWidget(activeBox);
  l->addWidget(panel2_);
  l->addStretch(1);

  connect(open_, &QPushButton::clicked, this, &TForm4::openClick);
  connect(next_, &QPushButton::clicked, this, &TForm4::nextClick);
  connect(speedButton1_, &QToolButton::clicked, this, &TForm4::SpeedButton1Click);
  connect(bitBtn1_, &QPushButton::clicked, this, &QDialog::reject);
  connect(handtal_, &QCheckBox::toggled, this, [this](bool on) { engine_->setManual(on); });
  connect(hradspolun_, &QCheckBox::toggled, this, [this](bool on) { engine_->setFastForward(on); });
  // viewClick: the choice shows in the next window.
  connect(view_, &QButtonGroup::idClicked, this, [this](int id) { engine_->setView(static_cast<DebugView>(id)); });
  connect(activeC_, &QButtonGroup::idClicked, this, &TForm4::ActiveCClick);
  connect(edit3_, &QLineEdit::textEdited, this, [this](const QString& t) { engine_->setEdit3(t.toStdString()); });
  connect(edit3_, &QLineEdit::returnPressed, this, &TForm4::Edit3KeyDown);
}

QWidget* TForm4::PaintBox1() const { return picture_; }

QLineEdit* TForm4::edit(const char* name) const { return findChild<QLineEdit*>(QString::fromLatin1(name)); }

void TForm4::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous() && !shown_) FormShow();
}

void TForm4::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (!event->spontaneous() && shown_) FormClose();
}

void TForm4::FormShow() {
  shown_ = true;
  env_.session->RunFlag = false;
  engine_->FormShow();
  panel2_->setVisible(env_.settings->DebugMode);
  // Saved now, loaded again on close: a recording's settings replace the
  // working copy meanwhile.
  if (!Write_Registry(*env_.settings, *env_.controls, *env_.store)) dialogs_->showError(kSettingsNotSavedMessage);
  refresh();
}

void TForm4::FormClose() {
  shown_ = false;
  // The user's own settings come back.
  Read_Registry(*env_.settings, *env_.controls, *env_.store);
  setDetectionConstants(*env_.detection, env_.settings->ChannelWidthMm);
  engine_->FormClose();
  env_.session->RunFlag = false;
  refresh();
}

void TForm4::openClick() {
  const std::string folder = recordDialogFolder(env_.controls->reportpath.text(), QDir::homePath().toStdString());
  const std::optional<std::string> path = dialogs_->chooseRecordFile(folder, kRecordFileFilter);
  if (!path) {
    engine_->openCancelled();
    refresh();
    return;
  }
  loadFile(*path);
}

bool TForm4::loadFile(const std::string& path) {
  // The record's own edges and channels; file errors are not reported.
  const bool opened = engine_->openFile(path, readRecordingReport(path, *env_.store), nullptr);
  clicks_.clear();
  windowDrawn_ = false;
  setWindowTitle(QString::fromStdString(engine_->state().Caption));
  refresh();
  picture_->update();
  if (opened) next_->setFocus();
  return opened;
}

void TForm4::nextClick() {
  if (!engine_->isOpen()) return;
  engine_->setPictureSize(picture_->width(), picture_->height());
  drawnView_ = engine_->state().view;
  engine_->nextClick();
  windowDrawn_ = !engine_->state().Hradspolun;
  clicks_.clear();
  refresh();
  picture_->update();
  if (engine_->state().handtal) {
    edit3_->setFocus();
    edit3_->selectAll();
  }
}

// Enter in Edit3: the next window, as "Next" (the line edit reports no other key).
void TForm4::Edit3KeyDown() { nextClick(); }

void TForm4::SpeedButton1Click() {
  (void)engine_->SpeedButton1Click();
  refresh();
}

void TForm4::ActiveCClick(int item) {
  engine_->ActiveCClick(item);
  refresh();
}

void TForm4::PaintBox1MouseDown(const QPoint& at) {
  const std::optional<int32_t> half = engine_->PaintBox1MouseDown();
  if (!half) return;
  clicks_.push_back(QRect(QPoint(at.x() - *half, at.y() - *half), QPoint(at.x() + *half, at.y() + *half)));
  refresh();
  picture_->update();
}

void TForm4::refresh() {
  const DebugViewerState& st = engine_->state();
  total_->setText(QString::fromStdString(st.Total));
  edit4_->setText(QString::fromStdString(st.Edit4));
  if (edit3_->text().toStdString() != st.Edit3) edit3_->setText(QString::fromStdString(st.Edit3));
  edit5_->setText(QString::fromStdString(st.Edit5));
  edit2_->setText(QString::fromStdString(st.Edit2));
  count_->setText(QString::fromStdString(st.count));
  estimt_->setText(QString::fromStdString(st.estimt));
  next_->setEnabled(st.nextEnabled);
}

void TForm4::PaintBox1Paint(QPainter& p, int width, int height) const {
  p.fillRect(0, 0, width, height, Qt::white);
  const SettingsVariables& s = *env_.settings;
  auto y = [&](int32_t v) { return debugY(v, s.LeftEdge, s.RightEdge, height); };

  // The tracked objects, each in its colour.
  const int32_t columns = std::min(engine_->state().ColumnCount, engine_->windowWidth());
  for (int32_t c = 0; c < columns; ++c) {
    const DebugColumn& column = engine_->column(c);
    for (int k = 0; k < column.Count; ++k) {
      const DebugObjectLine& o = column.Objects[static_cast<size_t>(k)];
      p.setPen(toolkitColour(objectPen(o.Colour)));
      p.drawLine(c, y(o.Start), c, y(o.End));
    }
  }

  // The finished objects' markers.
  QFont font = p.font();
  font.setPointSize(kMarkerFontSize);
  p.setFont(font);
  p.setBrush(Qt::NoBrush);
  for (int32_t k = 0; k < engine_->markerCount(); ++k) {
    const DebugMarker& m = engine_->marker(k);
    const int a = y(m.Start);
    const int b = a + m.Offset;
    p.setPen(Qt::black);
    p.drawLine(m.Column, b, m.Column, a);
    p.drawLine(m.Column - kCrossBar, b, m.Column + kCrossBar, b);
    if (m.Tick) p.drawLine(m.Column, height - 1, m.Column, height - 1 - kTickHeight);
    p.drawText(QPoint(m.Column + kTextGap, b + p.fontMetrics().ascent()),
               QString::fromStdString(markerText(m, drawnView_)));
    if (m.Frame) p.drawRect(QRect(QPoint(m.Column - m.Lines, y(m.MinLeft)), QPoint(m.Column, y(m.MaxRight))));
  }

  // The channels' edges.
  if (windowDrawn_) {
    p.setPen(Qt::red);
    for (int c = 1; c <= std::clamp(s.NrChannels, 0, kMaxChannels); ++c) {
      const int begin = y(s.ChannelPositions[c].Begin);
      const int end = y(s.ChannelPositions[c].End);
      p.drawLine(0, begin, width - 1, begin);
      p.drawLine(0, end, width - 1, end);
    }
  }

  // The manual clicks of this window.
  p.setPen(Qt::black);
  p.setBrush(Qt::red);
  for (const QRect& r : clicks_) p.drawRect(r);
}
