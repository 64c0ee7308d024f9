#pragma once

#include "mod/ModReplace.h"
#include "mod/TableChange.h"

#include <QDialog>

#include <functional>

class ChangeList;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Replace across a mod: what to find and what to put in its place, in the whole mod or in the
// cells selected; Preview lists every change with a box each, and Replace makes the ticked ones
// as one step. Values the file could not hold are listed with the reason and never made.
class ModReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    // The changes the options make, over the whole mod or over the selected cells.
    using Finder = std::function<QList<TableChange>(const ModReplace &replace, bool selectionOnly)>;

    ModReplaceDialog(Finder finder, bool hasSelection, QWidget *parent = nullptr);

    QLineEdit *txtFind() const { return m_find; }
    QLineEdit *txtReplace() const { return m_replace; }
    QCheckBox *chkWholeValue() const { return m_wholeValue; }
    QCheckBox *chkMatchCase() const { return m_matchCase; }
    QCheckBox *chkRegularExpression() const { return m_regularExpression; }
    QRadioButton *optSelection() const { return m_selection; }
    QPushButton *cmdPreview() const { return m_preview; }
    QPushButton *cmdReplace() const { return m_apply; }
    ChangeList *changeList() const { return m_list; }
    QLabel *summary() const { return m_summary; }

    ModReplace::Options options() const;
    // Fills the list from the options; false, with the reason shown, when they cannot be used.
    bool preview();

signals:
    // The ticked changes, to be made as one step.
    void applyRequested(const QList<TableChange> &changes);

private:
    void optionsEdited();

    Finder m_finder;
    QLineEdit *m_find;
    QLineEdit *m_replace;
    QCheckBox *m_wholeValue;
    QCheckBox *m_matchCase;
    QCheckBox *m_regularExpression;
    QRadioButton *m_wholeMod;
    QRadioButton *m_selection;
    QPushButton *m_preview;
    QPushButton *m_apply;
    ChangeList *m_list;
    QLabel *m_summary;
    bool m_previewed = false;
};
