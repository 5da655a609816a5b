#include "online/about_box.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>

#include "core/product.h"

namespace jubilora {

namespace {

constexpr const char* AboutCaption = "About...";
constexpr const char* InstructionsText =
    "Brief instructions:\r\n"
    "    Use built-in editor to add, modify and delete your\r\n"
    "    anniversaries data. Then, customize colors, font and\r\n"
    "    other preferences to get a nice looking reminder.\r\n"
    "    Never forget an anniversary again!";
constexpr int PictureWidth = 164;
constexpr int PictureHeight = 314;
constexpr int TextRightLimit = 376 - 12;  // the picture panel's left edge, less a margin

QFont TahomaPixels(int pixels, bool bold) {
  QFont font("Tahoma");
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QPixmap AboutPicture() {
  QImage image(PictureWidth, PictureHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer renderer(QStringLiteral(":/about.svg"));
  QPainter painter(&image);
  renderer.render(&painter, QRectF(0, 0, PictureWidth, PictureHeight));
  return QPixmap::fromImage(image);
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* owner, std::function<bool()> runHelp)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      runHelp_(std::move(runHelp)) {
  setObjectName("frmAbout");
  setWindowTitle(AboutCaption);
  QFont font("Tahoma");
  font.setPointSize(8);
  setFont(font);
  setFixedSize(ClientWidth, ClientHeight);

  labTitle_ = new QLabel(this);
  labTitle_->setFont(TahomaPixels(19, true));
  labTitle_->move(16, 16);
  labVersion_ = new QLabel(this);
  labVersion_->setFont(TahomaPixels(13, false));
  labVersion_->move(16, 40);
  labInstructions_ = new QLabel(this);
  labInstructions_->setFont(TahomaPixels(13, false));
  labInstructions_->move(16, 72);
  for (QLabel* label : {labTitle_, labVersion_, labInstructions_}) label->setAttribute(Qt::WA_TranslucentBackground);

  btnOK_ = new QPushButton("&OK", this);
  btnOK_->setObjectName("btnOK");
  btnOK_->setGeometry(128, 276, 81, 25);
  btnHelp_ = new QPushButton("&Help", this);
  btnHelp_->setObjectName("btnHelp");
  btnHelp_->setGeometry(216, 276, 81, 25);
  setTabOrder(btnOK_, btnHelp_);
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnHelp_, &QPushButton::clicked, this, &TfrmAbout::btnHelpClick);

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setLineWidth(2);
  panel->setGeometry(376, 16, PictureWidth + 4, PictureHeight + 4);
  auto* picture = new QLabel(panel);
  picture->setGeometry(2, 2, PictureWidth, PictureHeight);
  picture->setPixmap(AboutPicture());

  // Enter or Escape closes the box from anywhere in it.
  for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(btnOK_), static_cast<QWidget*>(btnHelp_)})
    widget->installEventFilter(this);
}

bool TfrmAbout::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) FormActivate();
  return QDialog::event(event);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
      accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmAbout::FormActivate() {
  btnOK_->setFocus();
  labTitle_->setText(ProductName);
  labTitle_->adjustSize();
  labVersion_->setText(QString("Version: ") + ProductVersion);
  labVersion_->adjustSize();
  labInstructions_->setText(QString(InstructionsText).replace("\r\n", "\n"));
  labInstructions_->setFont(TahomaPixels(13, false));
  labInstructions_->adjustSize();
  // A wider face standing in for Tahoma must not run into the picture.
  for (int pixels = 12; labInstructions_->geometry().right() > TextRightLimit && pixels >= 10; --pixels) {
    labInstructions_->setFont(TahomaPixels(pixels, false));
    labInstructions_->adjustSize();
  }
}

void TfrmAbout::btnHelpClick() {
  if (runHelp_ && runHelp_()) accept();
}

}  // namespace jubilora
