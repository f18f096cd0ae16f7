// The main window as it stands when loaded: every control at its place in twips.

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "focus_frame.h"
#include "fonts.h"
#include "form1.h"
#include "marker_layout.h"
#include "picturebox.h"
#include "rule.h"
#include "twips.h"
#include "utf8_text.h"
#include "window_texts.h"

namespace tanabashigo {
namespace {

constexpr double kClientWidth = 9870;
constexpr double kClientHeight = 8535;
constexpr double kSmallFont = 11.25;
constexpr double kTitleFont = 15.75;
const QColor kMarkerRed(0xFF, 0x00, 0x00);

QPushButton* makeButton(QWidget* parent, const QString& caption, QRect rect, bool bold) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(rect);
    button->setFont(msPGothic(kSmallFont, bold));
    button->setAccessibleName(QString(caption).remove(QChar(0x3000)));
    button->setAutoDefault(false);
    return button;
}

/// A small red picture box with a sunken edge, placed in the surface's client area.
QWidget* makeRedBox(PictureBox* surface, double left, double top) {
    auto* box = new FocusFrame(surface);
    box->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, kMarkerRed);
    box->setPalette(palette);
    box->setAutoFillBackground(true);
    const QPoint origin = surface->contentsRect().topLeft();
    box->setGeometry(
        twipsRect(left, top, marker_layout::kBox, marker_layout::kBox).translated(origin));
    return box;
}

/// The window icon, made once and shared: an icon per window leaves its own pixmaps behind on X11.
const QIcon& windowIconOnce() {
    static const QIcon icon(QStringLiteral(":/icons/tanabashigo-32.png"));
    return icon;
}

}  // namespace

double Form1::zoomToFit(QSize available, QSize frame) {
    constexpr double kMaxZoom = 4.0;
    constexpr double kStep = 0.05;
    const double across = (available.width() - frame.width()) * kTwipsPerPixel / kClientWidth;
    const double down = (available.height() - frame.height()) * kTwipsPerPixel / kClientHeight;
    const double steps = std::floor(std::min({across, down, kMaxZoom}) / kStep + 1e-9);
    return std::max(1.0, steps * kStep);
}

void Form1::createControls() {
    setWindowTitle(fromUtf8(texts::kMainTitle));
    setWindowIcon(windowIconOnce());
    resize(twips(kClientWidth), twips(kClientHeight));
    setAccessibleName(QStringLiteral("たなばしご"));

    Command3 = makeButton(this, fromUtf8(texts::kQuit), twipsRect(0, 0, 855, 375), false);
    Label2 = new QLabel(fromUtf8(texts::kHeading), this);
    Label2->setGeometry(twipsRect(2640, 0, 4695, 375));
    Label2->setFont(msPGothic(kTitleFont, true));
    Label2->setAlignment(Qt::AlignCenter);
    QPalette titlePalette = Label2->palette();
    titlePalette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    Label2->setPalette(titlePalette);
    Label2->setAutoFillBackground(true);
    Label2->setAccessibleName(QStringLiteral("たなばしご"));
    Command6 = makeButton(this, fromUtf8(texts::kHelp), twipsRect(8160, 0, 855, 375), false);
    Command6->setAccessibleName(QStringLiteral("ヘルプ"));
    Command4 = makeButton(this, fromUtf8(texts::kInitialise), twipsRect(9000, 0, 855, 375), false);
    Command4->setEnabled(false);
    Line1 = new HorizontalRule(this, twips(0), twips(360), twips(9840));
    Line1->lower();  // a drawn line lies under the controls it crosses
    Line1->setAccessibleName(QStringLiteral("区切り線"));

    Picture1 = new PictureBox(this);
    Picture1->place(twipsRect(120, 600, 9615, 6855));
    Picture1->setUserScale(0, 0, 735, 67.95);
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->setAccessibleName(QStringLiteral("たなばしごと着地の記録"));
    Picture2 = makeRedBox(Picture1, marker_layout::kStartLeft, marker_layout::kStartTop);
    Picture2->setFocusPolicy(Qt::StrongFocus);
    Picture2->setAccessibleName(QStringLiteral("スタートの印（3本目の線）"));
    createMarkers();

    Command5 = makeButton(this, fromUtf8(texts::kStop), twipsRect(1080, 7680, 3375, 615), true);
    Command1 = makeButton(this, fromUtf8(texts::kStart), twipsRect(5400, 7680, 3375, 615), true);
    Command2 = makeButton(this, fromUtf8(texts::kDraw), twipsRect(840, 8040, 615, 375), true);
    Command2->hide();
    Label1 = new QLabel(this);
    Label1->setGeometry(twipsRect(120, 8280, 375, 255));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAccessibleName(QStringLiteral("横線の番号"));
    setTabOrder();
    describeTally();
}

void Form1::createMarkers() {
    for (int k = 1; k <= kLineCount; ++k) {
        MarkerArray& column = *markerColumns_[k - 1];
        for (int i = 1; i <= Tally::kColumnCapacity; ++i) {
            column[i] = makeRedBox(Picture1, marker_layout::kColumnLeft[k - 1],
                                   marker_layout::markerTop(i));
            column[i]->setAccessibleName(QStringLiteral("%1列目の印 %2").arg(k).arg(i));
            column[i]->hide();
        }
    }
}

void Form1::setTabOrder() {
    const std::array<QWidget*, 7> order{Picture1, Command1, Picture2, Command3,
                                        Command4, Command5, Command6};
    for (std::size_t n = 1; n < order.size(); ++n) {
        QWidget::setTabOrder(order[n - 1], order[n]);
    }
}

}  // namespace tanabashigo
