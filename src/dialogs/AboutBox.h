#pragma once

#include <QColor>
#include <QDialog>
#include <QPixmap>

class Dialogs;
class QLabel;

// The credits over a picture, with a link to the maker's web site. It has no frame and no
// buttons: a click on the link opens the site and closes the box, a click anywhere else closes it.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    static const QString WebAddress;
    static inline const QColor LinkColour{0, 0, 255};
    static inline const QColor PressedLinkColour{192, 192, 255};

    AboutBox(Dialogs &dialogs, QWidget *owner);

    QLabel *lblInfo() const { return m_lblInfo; }
    QLabel *lblInfo2() const { return m_lblInfo2; }
    QLabel *lblLink() const { return m_lblLink; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setLinkColour(const QColor &colour);

    Dialogs &m_dialogs;
    QPixmap m_picture;
    QLabel *m_lblInfo;
    QLabel *m_lblInfo2;
    QLabel *m_lblLink;
    bool m_pressedOnWindow = false;
    bool m_pressedOnLink = false;
};
