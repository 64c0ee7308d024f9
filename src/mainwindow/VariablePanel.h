#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;

// The side panel of the main window: the known variables, the commands that add, remove and change
// variables, and the help of the variable selected last. It knows no document: its commands are
// requests that the main window carries out on the active one.
class VariablePanel : public QWidget
{
    Q_OBJECT

public:
    explicit VariablePanel(QWidget *parent = nullptr);

    QListWidget *lstAdd() const { return m_lstAdd; }
    QPushButton *cmdAdd() const { return m_cmdAdd; }
    QPushButton *cmdRemove() const { return m_cmdRemove; }
    QPushButton *cmdChange() const { return m_cmdChange; }
    QLabel *lblHelp() const { return m_lblHelp; }
    QScrollArea *scrTools() const { return m_scrTools; }

    // The scroller's height as the main window sets it; never more than the panel's own height.
    void setScrollerHeight(int height);

    void showHelp(const QString &text);
    QString helpText() const;
    void setCommandsEnabled(bool enabled);

    // The controls that take the keyboard now, in Tab order.
    QList<QWidget *> focusStops() const;
    // The keyboard to the first control (at the start) or the last; false when none takes it.
    bool takeFocus(bool atStart);

signals:
    void addRequested(const QString &name);
    void removeRequested();
    void changeRequested();
    void helpRequested(const QString &name);

private:
    void requestAdd();

    QScrollArea *m_scrTools;
    QWidget *m_content;
    QGroupBox *m_frmAddRemove;
    QGroupBox *m_helpFrame;
    QListWidget *m_lstAdd;
    QPushButton *m_cmdAdd;
    QPushButton *m_cmdRemove;
    QPushButton *m_cmdChange;
    QLabel *m_lblHelp;
    int m_scrollerHeight = 0;

    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
