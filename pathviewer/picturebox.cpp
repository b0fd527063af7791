#include "picturebox.h"

#include <QMouseEvent>
#include <QPainter>

namespace zk::pathviewer {

PictureBox::PictureBox(QWidget *parent) : QWidget(parent), back_(128, 128, 128)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void PictureBox::setPictureSize(int width, int height)
{
    resize(width, height);
    stored_ = QImage();
    image_ = QImage(width, height, QImage::Format_RGB32);
    image_.fill(back_);
    update();
}

void PictureBox::setBackColor(uint32_t bgr)
{
    back_ = QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void PictureBox::cls()
{
    if (!stored_.isNull()) image_ = stored_;
    else image_.fill(back_);
    update();
}

void PictureBox::clearStored()
{
    stored_ = QImage();
    image_.fill(back_);
    update();
}

void PictureBox::keep()
{
    stored_ = image_;
    stored_.detach();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void PictureBox::mousePressEvent(QMouseEvent *e)
{
    emit mouseDown(e->position(), e->button());
    e->accept();
}

CaptionLabel::CaptionLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);  // a click on a caption is a click on the picture
}

void CaptionLabel::setCaption(const QString &caption)
{
    caption_ = caption;
    QString shown = caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(shown);
    adjustSize();
}

}  // namespace zk::pathviewer
