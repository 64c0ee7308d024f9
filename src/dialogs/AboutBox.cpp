#include "dialogs/AboutBox.h"

#include "platform/Dialogs.h"
#include "platform/Twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

#include <utility>

// No address of the maker is known yet; a reserved name keeps the link from reaching a stranger.
const QString AboutBox::WebAddress = QStringLiteral("https://www.veldmark.example");

namespace {
QLabel *makeLabel(QWidget *parent, const char *name, const QRect &geometry, bool bold)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    return label;
}
}

AboutBox::AboutBox(Dialogs &dialogs, QWidget *owner)
    : QDialog(owner, Qt::Tool | Qt::FramelessWindowHint)
    , m_dialogs(dialogs)
    , m_picture(QStringLiteral(":/about.bmp"))
{
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(Twips::size(3615, 1905));

    m_lblInfo = makeLabel(this, "lblInfo", Twips::rect(120, 120, 3375, 495), true);
    m_lblInfo2 = makeLabel(this, "lblInfo2", Twips::rect(120, 720, 3375, 615), false);
    m_lblLink = makeLabel(this, "lblLink", Twips::rect(120, 1440, 3375, 255), true);
    // A click on the credits is a click on the box.
    m_lblInfo->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_lblInfo2->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_lblLink->setCursor(QCursor(QPixmap(QStringLiteral(":/hand.png")), 12, 1));
    m_lblLink->installEventFilter(this);
    setLinkColour(LinkColour);

    m_lblInfo->setText(QString());
    m_lblInfo2->setText(
        QStringLiteral("For more information please consult the ReadMe file or vist the Veldmark website."));
    m_lblLink->setText(WebAddress);
}

void AboutBox::showEvent(QShowEvent *event)
{
    if (QWidget *owner = parentWidget()) {
        const QRect frame = owner->window()->frameGeometry();
        move(frame.center() - rect().center());
    }
    QDialog::showEvent(event);
}

void AboutBox::keyPressEvent(QKeyEvent *event)
{
    // Escape and Enter close the box as a click does; it has no other keys.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        close();
        break;
    default:
        event->accept();
    }
}

void AboutBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

void AboutBox::mousePressEvent(QMouseEvent *event)
{
    m_pressedOnWindow = true;
    event->accept();
}

void AboutBox::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (std::exchange(m_pressedOnWindow, false) && rect().contains(event->position().toPoint()))
        accept();
}

bool AboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_lblLink)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_pressedOnLink = true;
        setLinkColour(PressedLinkColour);
        return true;
    case QEvent::MouseButtonRelease: {
        setLinkColour(LinkColour);
        const auto *release = static_cast<QMouseEvent *>(event);
        if (std::exchange(m_pressedOnLink, false) && m_lblLink->rect().contains(release->position().toPoint())) {
            m_dialogs.openUrl(QUrl(WebAddress + QLatin1Char('/')));
            accept();
        }
        return true;
    }
    default:
        return false;
    }
}

void AboutBox::setLinkColour(const QColor &colour)
{
    QPalette palette = m_lblLink->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_lblLink->setPalette(palette);
}
