#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;

// Every variable that has help, with its text: a list on the left that typing filters, the text of
// the selected one on the right. It stays open beside the documents; a double-click adds the
// variable to the active document as the panel's Add Variable does.
class HelpTopicsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpTopicsWindow(QWidget *owner);

    QLineEdit *txtFilter() const { return m_txtFilter; }
    QListWidget *lstTopics() const { return m_lstTopics; }
    QLabel *lblTopic() const { return m_lblTopic; }

signals:
    void addRequested(const QString &name);

protected:
    // Escape closes it, as it closes a dialog.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void filter(const QString &text);
    void showTopic();

    QLineEdit *m_txtFilter;
    QListWidget *m_lstTopics;
    QLabel *m_lblTopic;
};
