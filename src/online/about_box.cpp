#include "online/about_box.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSvgRenderer>

#include "core/product.h"
#include "ui/window_placement.h"

namespace jubilora {

namespace {

constexpr const char* AboutCaption = "About...";
constexpr const char* VersionPrefix = "Version: ";
constexpr const char* InstructionsText =
    "Brief instructions:\n"
    "    Use built-in editor to add, modify and delete your\n"
    "    anniversaries data. Then, customize colors, font and\n"
    "    other preferences to get a nice looking reminder.\n"
    "    Never forget an anniversary again!";
constexpr const char* PictureName = "A calendar and a birthday cake among confetti";
constexpr int PictureWidth = 164;
constexpr int PictureHeight = 314;
constexpr double TitleScale = 1.5;
constexpr int Margin = 16;
constexpr int ButtonGap = 8;
constexpr int MinButtonWidth = 81;
constexpr int MinButtonHeight = 25;

// The picture in its sunken frame, drawn from the vector file at every paint, so that it is
// sharp at any device pixel ratio.
class AboutPicture : public QFrame {
 public:
  explicit AboutPicture(QWidget* parent) : QFrame(parent), renderer_(QStringLiteral(":/about.svg")) {
    setObjectName(QStringLiteral("ivPicture"));
    setAccessibleName(QString::fromLatin1(PictureName));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  }

  QSize sizeHint() const override {
    return {PictureWidth + 2 * frameWidth(), PictureHeight + 2 * frameWidth()};
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const int frame = frameWidth();
    renderer_.render(&painter, QRectF(rect().adjusted(frame, frame, -frame, -frame)));
  }

 private:
  QSvgRenderer renderer_;
};

QLabel* TextLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* owner, std::function<bool()> runHelp)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      runHelp_(std::move(runHelp)) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QString::fromLatin1(AboutCaption));

  auto* labTitle = TextLabel(QString::fromLatin1(ProductName), this);
  labTitle->setObjectName(QStringLiteral("labTitle"));
  QFont titleFont = font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * TitleScale);
  labTitle->setFont(titleFont);
  auto* labVersion = TextLabel(QString::fromLatin1(VersionPrefix) + QString::fromLatin1(ProductVersion), this);
  labVersion->setObjectName(QStringLiteral("labVersion"));
  auto* labInstructions = TextLabel(QString::fromLatin1(InstructionsText), this);
  labInstructions->setObjectName(QStringLiteral("labInstructions"));

  btnOK_ = new QPushButton(QStringLiteral("&OK"), this);
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  auto* btnHelp = new QPushButton(QStringLiteral("&Help"), this);
  btnHelp->setObjectName(QStringLiteral("btnHelp"));
  // Enter closes the box from either button: OK is the default, Help never takes its place.
  btnOK_->setDefault(true);
  btnHelp->setAutoDefault(false);
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnHelp, &QPushButton::clicked, this, &TfrmAbout::btnHelpClick);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(ButtonGap);
  buttons->addStretch();
  for (QPushButton* button : {btnOK_, btnHelp}) {
    button->setMinimumSize(MinButtonWidth, MinButtonHeight);
    buttons->addWidget(button);
  }
  buttons->addStretch();

  auto* texts = new QVBoxLayout;
  texts->addWidget(labTitle);
  texts->addWidget(labVersion);
  texts->addSpacing(fontMetrics().height());
  texts->addWidget(labInstructions);
  texts->addStretch();
  texts->addLayout(buttons);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(Margin, Margin, Margin, Margin);
  layout->setSpacing(Margin);
  layout->addLayout(texts, 1);
  layout->addWidget(new AboutPicture(this), 0, Qt::AlignTop);
  resize(QSize(ClientWidth, ClientHeight).expandedTo(minimumSizeHint()));
}

void TfrmAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  PlaceCentred(this, parentWidget());
  btnOK_->setFocus();
}

void TfrmAbout::btnHelpClick() {
  if (runHelp_ && runHelp_()) accept();
}

}  // namespace jubilora
