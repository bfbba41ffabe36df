// Two small widgets of the record viewer: a track bar that shows a selected
// stretch (QSlider has none), and the paint box of the frame picture.
#ifndef TINDAVEL_RECORDS_RECORD_VIEWER_WIDGETS_H_
#define TINDAVEL_RECORDS_RECORD_VIEWER_WIDGETS_H_

#include <QSlider>
#include <QWidget>

class TfrmRecord;

// A horizontal slider with a band under the groove from selectionStart to
// selectionEnd (the toolkit track bar's selection), painted in colours of
// its own so it shows under every style. A selection of 0..0 is none.
class SelectionTrackBar : public QSlider {
 public:
  explicit SelectionTrackBar(QWidget* parent = nullptr);
  void setSelection(int start, int end);
  int selectionStart() const { return selStart_; }
  int selectionEnd() const { return selEnd_; }
  // Where the band is painted; empty when there is none.
  QRect selectionBand() const;
  // The fill of the band.
  static QColor bandColor();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int selStart_ = 0;
  int selEnd_ = 0;
};

// The paint box: hands painting and its width changes to its record viewer.
class RecordPicture : public QWidget {
 public:
  // `viewer` is required and outlives the picture (it is usually the parent).
  RecordPicture(TfrmRecord* viewer, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TfrmRecord* viewer_;
};

#endif  // TINDAVEL_RECORDS_RECORD_VIEWER_WIDGETS_H_
