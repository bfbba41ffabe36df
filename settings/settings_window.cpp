#include "settings/settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <climits>
#include <cmath>

#include "portio/control_output.h"
#include "settings/registry.h"
#include "texts/language_fill.h"
#include "texts/text_table.h"

namespace {

constexpr int kLogoSide = 105;  // Image1, the picture stretched to fit
constexpr int kGridColumns = 5;
constexpr int kReportPage = 3;  // the page the window opens on the first time

QString text(const std::string& s) { return QString::fromStdString(s); }

QPushButton* keyboardButton(QWidget* parent, const char* name) {
  auto* b = new QPushButton(QStringLiteral("...."), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setFixedWidth(41);
  b->setAutoDefault(false);
  return b;
}

QSpinBox* spinEdit(QWidget* parent, const char* name, int minimum, int maximum) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(minimum, maximum);
  return spin;
}

QLineEdit* lineEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

// The radio buttons of a radio group, one per item, in a column. They do not
// exclude each other on their own: the model says which one is checked (a
// group may have none), and a click only chooses.
template <std::size_t N>
QGroupBox* radioGroup(QWidget* parent, const char* name, const char* caption,
                      std::array<QRadioButton*, N>& buttons) {
  auto* box = new QGroupBox(QString::fromUtf8(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  auto* column = new QVBoxLayout(box);
  for (std::size_t i = 0; i < N; ++i) {
    buttons[i] = new QRadioButton(box);
    buttons[i]->setObjectName(QString::fromLatin1(name) + QString::number(i));
    buttons[i]->setAutoExclusive(false);
    column->addWidget(buttons[i]);
  }
  return box;
}

template <std::size_t N>
void showRadioGroup(const std::array<QRadioButton*, N>& buttons, const RadioGroup& group) {
  for (std::size_t i = 0; i < N; ++i) {
    buttons[i]->setText(text(i < group.items().size() ? group.items()[i] : std::string()));
    buttons[i]->setChecked(static_cast<int>(i) == group.itemIndex());
  }
}

void showSpin(QSpinBox* spin, const SpinEdit& edit) { spin->setValue(edit.value()); }

void showEdit(QLineEdit* line, const Edit& edit) {
  if (line->text() != text(edit.text())) line->setText(text(edit.text()));
}

}  // namespace

double lineRate(int32_t linesPerBuffer, const LineRateCount& count, double nowDays) {
  const double elapsedDays = nowDays - count.BufferCountStart;
  if (!(elapsedDays > 0)) return 0;
  const double rate = static_cast<double>(linesPerBuffer) * count.BufferCount / elapsedDays / 24 / 3600;
  return std::isfinite(rate) ? rate : 0;
}

std::string imageBufferText(const CameraGeometry& camera) {
  return std::to_string(camera.LineWidth) + "x" + std::to_string(camera.LinesPerBuffer);
}

std::optional<std::string> QtSettingsWindowDialogs::chooseFolder(const std::string& title) {
  const QString folder = QFileDialog::getExistingDirectory(parent_, text(title));
  if (folder.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(folder).toStdString();
}

std::optional<std::string> QtSettingsWindowDialogs::chooseLogoFile(const std::string& start) {
  const QString name = QFileDialog::getOpenFileName(parent_, QString(), text(start));
  if (name.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(name).toStdString();
}

void QtSettingsWindowDialogs::showError(const std::string& message) {
  QMessageBox::critical(parent_, QString(), text(message), QMessageBox::Ok);
}

Tsett::Tsett(const SettingsWindowEnvironment& environment, QWidget* parent)
    : QDialog(parent), env_(environment), c_(*environment.controls), dialogs_(environment.dialogs, this) {
  Q_ASSERT(env_.controls && env_.settings && env_.store && env_.texts && env_.mainWindow && env_.session &&
           env_.camera && env_.lineRate && env_.port && env_.loadLogo && env_.now);
  setObjectName(QStringLiteral("sett"));
  setWindowTitle(QStringLiteral("Settings"));
  auto* column = new QVBoxLayout(this);
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->addTab(createSettingsPage(), QStringLiteral("Settings"));
  PageControl1->addTab(createMultiChannelsPage(), QStringLiteral("Multi channels"));
  PageControl1->addTab(createAdvancedPage(), QStringLiteral("Advanced"));
  PageControl1->addTab(createReportPage(), QStringLiteral("Report"));
  for (int i = 0; i < PageControl1->count(); ++i) TabSheet[static_cast<size_t>(i)] = PageControl1->widget(i);
  column->addWidget(PageControl1, 1);
  createBottomBar();
  connectEdits();
  refresh();
  c_.setObserver(this);
  setFixedSize(sizeHint().expandedTo(QSize(620, 470)));
}

Tsett::~Tsett() {
  if (c_.observer() == this) c_.setObserver(nullptr);
}

void Tsett::settingChanged(Setting) {
  // An edit of this window shows the model once it is through; a hidden
  // window is shown afresh by FormShow.
  if (refreshing_ || editing_ || !isVisible()) return;
  refresh();
}

QWidget* Tsett::createSettingsPage() {
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("TabSheet1"));
  auto* grid = new QGridLayout(page);

  GroupBox11 = new QGroupBox(QStringLiteral("Language"), page);
  GroupBox11->setObjectName(QStringLiteral("GroupBox11"));
  ComboBox1 = new QComboBox(GroupBox11);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  (new QVBoxLayout(GroupBox11))->addWidget(ComboBox1);
  grid->addWidget(GroupBox11, 0, 0);

  RecordmethodBox = radioGroup(page, "Recordmethod", "Recording while counting", Recordmethod);
  grid->addWidget(RecordmethodBox, 1, 0);

  GroupBox2 = new QGroupBox(QStringLiteral("Control function (Ctrl port)"), page);
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  auto* ctrlColumn = new QVBoxLayout(GroupBox2);
  const char* ctrlNames[] = {"CtrlNone", "CtrlOverload", "CtrlBatchAlarm", "CtrlBatchSplitter"};
  const char* ctrlCaptions[] = {"None", "Overload Alarm", "Batch Alarm", "Batch Splitter"};
  for (std::size_t i = 0; i < ctrl.size(); ++i) {
    ctrl[i] = new QRadioButton(QString::fromLatin1(ctrlCaptions[i]), GroupBox2);
    ctrl[i]->setObjectName(QString::fromLatin1(ctrlNames[i]));
    ctrl[i]->setAutoExclusive(false);
    ctrlColumn->addWidget(ctrl[i]);
  }
  GroupBox7 = new QGroupBox(QStringLiteral("Batch Number"), GroupBox2);
  GroupBox7->setObjectName(QStringLiteral("GroupBox7"));
  auto* batch = new QHBoxLayout(GroupBox7);
  Label4 = new QLabel(QStringLiteral("Number"), GroupBox7);
  Targetvalue = spinEdit(GroupBox7, "Targetvalue", c_.Targetvalue.minValue(), c_.Targetvalue.maxValue());
  Numberkeyb = keyboardButton(GroupBox7, "Numberkeyb");
  Button4 = new QPushButton(QStringLiteral("Reset"), GroupBox7);
  Button4->setObjectName(QStringLiteral("Button4"));
  Button4->setAutoDefault(false);
  batch->addWidget(Label4);
  batch->addWidget(Targetvalue, 1);
  batch->addWidget(Numberkeyb);
  batch->addWidget(Button4);
  ctrlColumn->addWidget(GroupBox7);
  grid->addWidget(GroupBox2, 0, 1, 2, 1);

  FishtypeWeightBox = radioGroup(page, "FishtypeWeight", "Fish type to weight", FishtypeWeight);
  grid->addWidget(FishtypeWeightBox, 2, 0);
  GroupBox12 = new QGroupBox(QStringLiteral("Weight constants"), page);
  GroupBox12->setObjectName(QStringLiteral("GroupBox12"));
  auto* weights = new QVBoxLayout(GroupBox12);
  wcsalmon = spinEdit(GroupBox12, "wcsalmon", INT_MIN, INT_MAX);  // no limits
  wcbream = spinEdit(GroupBox12, "wcbream", INT_MIN, INT_MAX);
  wcbass = spinEdit(GroupBox12, "wcbass", INT_MIN, INT_MAX);
  for (QSpinBox* s : {wcsalmon, wcbream, wcbass}) weights->addWidget(s);
  grid->addWidget(GroupBox12, 2, 1);

  GroupBox3 = new QGroupBox(QStringLiteral("Folder for Report and Record files"), page);
  GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
  auto* folder = new QHBoxLayout(GroupBox3);
  reportpath = lineEdit(GroupBox3, "reportpath");
  Folderkeyb = keyboardButton(GroupBox3, "Folderkeyb");
  folder->addWidget(reportpath, 1);
  folder->addWidget(Folderkeyb);
  grid->addWidget(GroupBox3, 3, 0, 1, 2);

  // A hidden group holds the always checked "Automatic size sensing".
  auto* hidden = new QGroupBox(page);
  autosence = new QCheckBox(QStringLiteral("Automatic size sensing"), hidden);
  autosence->setObjectName(QStringLiteral("autosence"));
  hidden->hide();
  return page;
}

QWidget* Tsett::createMultiChannelsPage() {
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("TabSheet2"));
  auto* column = new QVBoxLayout(page);
  GroupBox5 = new QGroupBox(QStringLiteral("Channel positions"), page);
  GroupBox5->setObjectName(QStringLiteral("GroupBox5"));
  strmul = new QTableWidget(1, kGridColumns, GroupBox5);
  strmul->setObjectName(QStringLiteral("strmul"));
  strmul->horizontalHeader()->hide();  // the first row is the grid's own fixed header
  strmul->verticalHeader()->hide();
  (new QVBoxLayout(GroupBox5))->addWidget(strmul);
  column->addWidget(GroupBox5, 1);
  Enablemulti = new QCheckBox(QStringLiteral("Multi channel counting"), page);
  Enablemulti->setObjectName(QStringLiteral("Enablemulti"));
  column->addWidget(Enablemulti);
  GroupBox8 = new QGroupBox(QStringLiteral("Channel Labels"), page);
  GroupBox8->setObjectName(QStringLiteral("GroupBox8"));
  auto* names = new QGridLayout(GroupBox8);
  const char* editNames[] = {"", "Cname1", "cname2", "Cname3", "Cname4"};
  const char* buttonNames[] = {"", "Keyb1", "keyb2", "Keyb3", "keyb4"};
  for (int n = 1; n <= kMaxChannels; ++n) {
    CnameLabel[n] = new QLabel(QStringLiteral("Channel %1").arg(n), GroupBox8);
    Cname[n] = lineEdit(GroupBox8, editNames[n]);
    Keyb[n] = keyboardButton(GroupBox8, buttonNames[n]);
    names->addWidget(CnameLabel[n], n - 1, 0);
    names->addWidget(Cname[n], n - 1, 1);
    names->addWidget(Keyb[n], n - 1, 2);
  }
  column->addWidget(GroupBox8);
  return page;
}

QWidget* Tsett::createAdvancedPage() {
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("TabSheet3"));
  auto* grid = new QGridLayout(page);
  GroupBox1 = new QGroupBox(QStringLiteral("Camera settings"), page);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  auto* camera = new QGridLayout(GroupBox1);
  Label1 = new QLabel(QStringLiteral(" Line scan rate"), GroupBox1);
  Label2 = new QLabel(QStringLiteral("Light Strength "), GroupBox1);
  auto* bufferLabel = new QLabel(QStringLiteral("Image buffer size"), GroupBox1);
  Linescan = lineEdit(GroupBox1, "Linescan");
  ampl = lineEdit(GroupBox1, "ampl");
  imagebuffsize = lineEdit(GroupBox1, "imagebuffsize");
  int row = 0;
  for (auto [label, edit] : {std::pair{Label1, Linescan}, std::pair{Label2, ampl}, std::pair{bufferLabel, imagebuffsize}}) {
    edit->setReadOnly(true);
    camera->addWidget(label, row, 0);
    camera->addWidget(edit, row++, 1);
  }
  grid->addWidget(GroupBox1, 0, 0, 1, 2);
  ChannelwidthBox = radioGroup(page, "Channelwidth", "Counter Channel Width [mm]", Channelwidth);
  grid->addWidget(ChannelwidthBox, 1, 0);
  GroupBox6 = new QGroupBox(QStringLiteral("Number of Channels"), page);
  GroupBox6->setObjectName(QStringLiteral("GroupBox6"));
  GroupBox6->installEventFilter(this);
  auto* channels = new QVBoxLayout(GroupBox6);
  Nrch = spinEdit(GroupBox6, "Nrch", c_.Nrch.minValue(), c_.Nrch.maxValue());
  debugmode = new QCheckBox(QStringLiteral("Debug mode"), GroupBox6);
  debugmode->setObjectName(QStringLiteral("debugmode"));
  channels->addWidget(Nrch);
  channels->addWidget(debugmode);
  grid->addWidget(GroupBox6, 1, 1);
  auto* resolutionBox = new QGroupBox(QStringLiteral("Image resolution [dot/m]"), page);
  resolutionBox->setObjectName(QStringLiteral("GroupBox9"));
  Resolution = spinEdit(resolutionBox, "Resolution", c_.Resolution.minValue(), c_.Resolution.maxValue());
  (new QVBoxLayout(resolutionBox))->addWidget(Resolution);
  grid->addWidget(resolutionBox, 2, 1);
  hardwareBox = radioGroup(page, "hardware", "Imaging hardware", hardware);
  grid->addWidget(hardwareBox, 2, 0);
  // Hidden controls: forced clamping and the sensitivity.
  ForcedClamping = new QCheckBox(QStringLiteral("Forced Clamping"), page);
  ForcedClamping->setObjectName(QStringLiteral("ForcedClamping"));
  ForcedClamping->setToolTip(QStringLiteral("Forced clamping can be used when the speces are partly transbarent"));
  ForcedClamping->hide();
  sensitivityBox = radioGroup(page, "sensitivity", "Sensitivity", sensitivity);
  sensitivityBox->hide();
  return page;
}

QWidget* Tsett::createReportPage() {
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("TabSheet4"));
  auto* grid = new QGridLayout(page);
  grid->addWidget(new QLabel(QStringLiteral("Name of operator/company:"), page), 0, 0, 1, 2);
  editoperator = lineEdit(page, "editoperator");
  Button3 = keyboardButton(page, "Button3");
  grid->addWidget(editoperator, 1, 0);
  grid->addWidget(Button3, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Logo imagefile:"), page), 2, 0, 1, 2);
  logoimagepath = lineEdit(page, "logoimagepath");
  Button2 = keyboardButton(page, "Button2");
  grid->addWidget(logoimagepath, 3, 0);
  grid->addWidget(Button2, 3, 1);
  Image1 = new QLabel(page);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFixedSize(kLogoSide, kLogoSide);
  Image1->setScaledContents(true);
  Image1->setFrameShape(QFrame::Box);
  grid->addWidget(Image1, 4, 0, Qt::AlignLeft | Qt::AlignTop);
  grid->setRowStretch(5, 1);
  return page;
}

void Tsett::createBottomBar() {
  auto* bar = new QHBoxLayout;
  Label3 = new QLabel(this);
  Label3->setObjectName(QStringLiteral("Label3"));
  BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  bar->addWidget(Label3, 1);
  bar->addWidget(BitBtn2);
  bar->addWidget(BitBtn1);
  qobject_cast<QVBoxLayout*>(layout())->addLayout(bar);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void Tsett::connectEdits() {
  // Every edit goes to the model through its setter; then the model is shown
  // again, with whatever its handlers changed.
  auto onEdit = [this](auto&& apply) {
    return [this, apply](auto&&... args) {
      if (refreshing_) return;
      editing_ = true;
      apply(args...);
      editing_ = false;
      edited();
    };
  };
  connect(ComboBox1, &QComboBox::activated, this, onEdit([this](int position) {
            chooseLanguage(position, env_.settings->LanguageNumber, *env_.texts, *env_.mainWindow, c_,
                           env_.session->SessionActive);
          }));
  for (int i = 0; i < static_cast<int>(Recordmethod.size()); ++i) {
    connect(Recordmethod[static_cast<size_t>(i)], &QRadioButton::clicked, this,
            onEdit([this, i](bool) { c_.Recordmethod.setItemIndex(i); }));
  }
  for (std::size_t i = 0; i < ctrl.size(); ++i) {
    connect(ctrl[i], &QRadioButton::clicked, this, onEdit([this, i](bool) { c_.ctrl.setChecked(i, true); }));
  }
  for (int i = 0; i < static_cast<int>(FishtypeWeight.size()); ++i) {
    connect(FishtypeWeight[static_cast<size_t>(i)], &QRadioButton::clicked, this,
            onEdit([this, i](bool) { c_.FishtypeWeight.setItemIndex(i); }));
  }
  for (int i = 0; i < static_cast<int>(Channelwidth.size()); ++i) {
    connect(Channelwidth[static_cast<size_t>(i)], &QRadioButton::clicked, this,
            onEdit([this, i](bool) { c_.Channelwidth.setItemIndex(i); }));
  }
  for (int i = 0; i < static_cast<int>(hardware.size()); ++i) {
    connect(hardware[static_cast<size_t>(i)], &QRadioButton::clicked, this,
            onEdit([this, i](bool) { c_.hardware.setItemIndex(i); }));
  }
  for (int i = 0; i < static_cast<int>(sensitivity.size()); ++i) {
    connect(sensitivity[static_cast<size_t>(i)], &QRadioButton::clicked, this,
            onEdit([this, i](bool) { c_.sensitivity.setItemIndex(i); }));
  }
  const std::pair<QSpinBox*, SpinEdit*> spins[] = {{Targetvalue, &c_.Targetvalue}, {wcsalmon, &c_.wcsalmon},
                                                   {wcbream, &c_.wcbream},         {wcbass, &c_.wcbass},
                                                   {Nrch, &c_.Nrch},               {Resolution, &c_.Resolution}};
  for (auto [spin, model] : spins) {
    connect(spin, &QSpinBox::valueChanged, this, onEdit([m = model](int value) { m->setValue(value); }));
  }
  std::vector<std::pair<QLineEdit*, Edit*>> edits = {
      {reportpath, &c_.reportpath}, {editoperator, &c_.editoperator}, {logoimagepath, &c_.logoimagepath}};
  for (int n = 1; n <= kMaxChannels; ++n) edits.emplace_back(Cname[n], &c_.channelName(n));
  for (auto [line, model] : edits) {
    connect(line, &QLineEdit::textChanged, this,
            onEdit([m = model](const QString& value) { m->setText(value.toStdString()); }));
  }
  connect(reportpath, &QLineEdit::editingFinished, this, &Tsett::reportpathExit);
  connect(Enablemulti, &QCheckBox::clicked, this, onEdit([this](bool on) { c_.Enablemulti.setChecked(on); }));
  connect(ForcedClamping, &QCheckBox::clicked, this,
          onEdit([this](bool on) { c_.ForcedClamping.setChecked(on); }));
  connect(debugmode, &QCheckBox::clicked, this, onEdit([this](bool on) { c_.debugmode.setChecked(on); }));

  // The keyboard: digits for the batch number, text for the rest.
  connect(Numberkeyb, &QPushButton::clicked, this, [this] { emit keyboardRequested(Targetvalue, true); });
  for (int n = 1; n <= kMaxChannels; ++n) {
    connect(Keyb[n], &QPushButton::clicked, this, [this, n] { emit keyboardRequested(Cname[n], false); });
    Cname[n]->installEventFilter(this);
  }
  connect(Button3, &QPushButton::clicked, this, [this] { emit keyboardRequested(editoperator, false); });
  connect(Folderkeyb, &QPushButton::clicked, this, &Tsett::FolderkeybClick);
  connect(Button2, &QPushButton::clicked, this, &Tsett::Button2Click);
  connect(Button4, &QPushButton::clicked, this, &Tsett::Button4Click);
  reportpath->installEventFilter(this);
  if (auto* field = Targetvalue->findChild<QLineEdit*>()) field->installEventFilter(this);
}

void Tsett::edited() { refresh(); }

void Tsett::refresh() {
  refreshing_ = true;
  const QSignalBlocker blockList(ComboBox1);
  ComboBox1->clear();
  for (const std::string& item : c_.ComboBox1.items()) ComboBox1->addItem(text(item));
  ComboBox1->setCurrentIndex(c_.ComboBox1.itemIndex());
  showRadioGroup(Recordmethod, c_.Recordmethod);
  for (std::size_t i = 0; i < ctrl.size(); ++i) {
    ctrl[i]->setChecked(c_.ctrl.checked(i));
    ctrl[i]->setEnabled(c_.ctrl.enabled[i]);
  }
  showSpin(Targetvalue, c_.Targetvalue);
  showRadioGroup(FishtypeWeight, c_.FishtypeWeight);
  FishtypeWeightBox->setVisible(c_.FishtypeWeight.visible);
  GroupBox12->setVisible(c_.FishtypeWeight.visible);  // the two groups show together
  showSpin(wcsalmon, c_.wcsalmon);
  showSpin(wcbream, c_.wcbream);
  showSpin(wcbass, c_.wcbass);
  showEdit(reportpath, c_.reportpath);
  autosence->setChecked(c_.autosence.checked());
  Enablemulti->setChecked(c_.Enablemulti.checked());
  Enablemulti->setEnabled(c_.Enablemulti.enabled);
  for (int n = 1; n <= kMaxChannels; ++n) {
    showEdit(Cname[n], c_.channelName(n));
    Cname[n]->setVisible(c_.channelName(n).visible);
    CnameLabel[n]->setVisible(c_.channelName(n).visible);
    Keyb[n]->setVisible(c_.channelNameButton(n).visible);
  }
  showEdit(Linescan, c_.Linescan);
  showEdit(ampl, c_.ampl);
  showEdit(imagebuffsize, c_.imagebuffsize);
  showRadioGroup(Channelwidth, c_.Channelwidth);
  showSpin(Nrch, c_.Nrch);
  showSpin(Resolution, c_.Resolution);
  showRadioGroup(hardware, c_.hardware);
  ForcedClamping->setChecked(c_.ForcedClamping.checked());
  showRadioGroup(sensitivity, c_.sensitivity);
  debugmode->setChecked(c_.debugmode.checked());
  debugmode->setVisible(c_.debugmode.visible);
  showEdit(editoperator, c_.editoperator);
  showEdit(logoimagepath, c_.logoimagepath);
  showCaptions();
  refreshing_ = false;
}

QWidget* Tsett::captionControl(SettingsCaption control) const {
  switch (control) {
    case SettingsCaption::Caption: return const_cast<Tsett*>(this);
    case SettingsCaption::ComboBox1: return ComboBox1;  // items only
    case SettingsCaption::GroupBox11: return GroupBox11;
    case SettingsCaption::TabSheet1: return TabSheet[0];
    case SettingsCaption::TabSheet2: return TabSheet[1];
    case SettingsCaption::TabSheet3: return TabSheet[2];
    case SettingsCaption::autosence: return autosence;
    case SettingsCaption::Recordmethod: return RecordmethodBox;
    case SettingsCaption::GroupBox2: return GroupBox2;
    case SettingsCaption::CtrlNone: return ctrl[CtrlNone];
    case SettingsCaption::CtrlOverload: return ctrl[CtrlOverload];
    case SettingsCaption::CtrlBatchAlarm: return ctrl[CtrlBatchAlarm];
    case SettingsCaption::CtrlBatchSplitter: return ctrl[CtrlBatchSplitter];
    case SettingsCaption::GroupBox7: return GroupBox7;
    case SettingsCaption::Label4: return Label4;
    case SettingsCaption::Button4: return Button4;
    case SettingsCaption::FishtypeWeight: return FishtypeWeightBox;
    case SettingsCaption::BitBtn1: return BitBtn1;
    case SettingsCaption::BitBtn2: return BitBtn2;
    case SettingsCaption::GroupBox5: return GroupBox5;
    case SettingsCaption::GroupBox8: return GroupBox8;
    case SettingsCaption::Enablemulti: return Enablemulti;
    case SettingsCaption::GroupBox1: return GroupBox1;
    case SettingsCaption::Label1: return Label1;
    case SettingsCaption::Label2: return Label2;
    case SettingsCaption::GroupBox3: return GroupBox3;
    case SettingsCaption::Label3: return Label3;
    case SettingsCaption::Cname1: return CnameLabel[1];  // the labelled edits' labels
    case SettingsCaption::cname2: return CnameLabel[2];
    case SettingsCaption::Cname3: return CnameLabel[3];
    case SettingsCaption::Cname4: return CnameLabel[4];
  }
  return nullptr;
}

void Tsett::showCaptions() {
  // Before the first language fill the window keeps its designed captions.
  for (SettingsCaption control : allSettingsCaptions()) {
    const std::optional<std::string> caption = c_.filledCaption(control);
    if (!caption) continue;
    const QString value = text(*caption);
    QWidget* target = captionControl(control);
    const int page = PageControl1->indexOf(target);
    if (target == this) {
      setWindowTitle(value);
    } else if (page >= 0) {
      PageControl1->setTabText(page, value);
    } else if (auto* box = qobject_cast<QGroupBox*>(target)) {
      box->setTitle(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
      button->setText(value);
    } else if (auto* label = qobject_cast<QLabel*>(target)) {
      label->setText(value);
    }
  }
}

void Tsett::showChannelTable(const std::vector<std::array<std::string, 4>>& rows) {
  strmul->clearContents();
  strmul->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int k = 0; k < 4; ++k) {
      strmul->setItem(r, k, new QTableWidgetItem(text(rows[static_cast<size_t>(r)][static_cast<size_t>(k)])));
    }
  }
}

void Tsett::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!shownBefore_) {
    shownBefore_ = true;
    PageControl1->setCurrentIndex(kReportPage);
  }
  FormShow();
}

void Tsett::FormShow() {
  const int language = env_.settings->LanguageNumber - 1;
  c_.ComboBox1.setItemIndex(language >= 0 && language < kLanguageCount ? language : -1);
  const double rate = lineRate(env_.camera->LinesPerBuffer, *env_.lineRate, env_.now());
  c_.Linescan.setText(QLocale::system().toString(rate, 'f', 1).toStdString());
  c_.imagebuffsize.setText(imageBufferText(*env_.camera));
  Label3->setText(text(versionLine(*env_.texts)));
  loadLogo();
  refresh();
}

void Tsett::loadLogo() {
  // A path that names no picture leaves the picture as it is.
  const std::string& path = c_.logoimagepath.text();
  if (path.empty() || !QFileInfo(text(path)).isFile()) return;
  const QImage image = env_.loadLogo(path);
  if (!image.isNull()) Image1->setPixmap(QPixmap::fromImage(image));
}

void Tsett::FolderkeybClick() {
  const std::optional<std::string> folder = dialogs_->chooseFolder(kFolderBrowserTitle);
  if (!folder) return;  // Cancel leaves the folder as it is
  // The chosen folder followed by the separator (a root already ends in one).
  std::string path = *folder;
  if (path.empty() || path.back() != kFolderSeparator) path += kFolderSeparator;
  c_.reportpath.setText(path);
  refresh();
}

void Tsett::reportpathExit() {
  c_.reportpathExit();
  refresh();
}

void Tsett::Button2Click() {
  if (const std::optional<std::string> file = dialogs_->chooseLogoFile(c_.logoimagepath.text())) {
    c_.logoimagepath.setText(*file);
  }
  loadLogo();
  refresh();
}

void Tsett::Button4Click() { toggleport(*env_.port); }

void Tsett::GroupBox6DblClick() {
  c_.GroupBox6DblClick();
  refresh();
}

bool Tsett::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == GroupBox6) {
      GroupBox6DblClick();
      return true;
    }
    if (watched == reportpath) {
      FolderkeybClick();
      return true;
    }
    if (watched == Targetvalue->findChild<QLineEdit*>()) {
      emit keyboardRequested(Targetvalue, true);
      return true;
    }
    for (int n = 1; n <= kMaxChannels; ++n) {
      if (watched == Cname[n]) {
        emit keyboardRequested(Cname[n], false);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void Tsett::done(int result) {
  QDialog::done(result);
  // FormClose: OK stores; every close reads the store back, which discards
  // the edits of a Cancel. A save that fails keeps the edits in the working
  // copy and says so: reading the store back would lose them.
  if (result == QDialog::Accepted &&
      !Write_Registry(*env_.settings, c_, *env_.store)) {
    dialogs_->showError(kSettingsNotSavedMessage);
    return;
  }
  Read_Registry(*env_.settings, c_, *env_.store);
}
