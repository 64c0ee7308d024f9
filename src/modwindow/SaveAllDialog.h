#pragma once

#include "mod/SavePreview.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QTreeWidget;

// Save All's preview: every file it would write, each with its changed lines (the line that goes,
// and the one that comes in its place), and how many. "Don't ask again" saves at once from then on.
class SaveAllDialog : public QDialog
{
    Q_OBJECT

public:
    SaveAllDialog(const QList<SavePreview::File> &files, const QString &folder, QWidget *parent = nullptr);

    QTreeWidget *fileList() const { return m_list; }
    QLabel *summary() const { return m_summary; }
    QCheckBox *chkDontAsk() const { return m_dontAsk; }

private:
    QTreeWidget *m_list;
    QLabel *m_summary;
    QCheckBox *m_dontAsk;
};
