#pragma once

#include "documents/FbiContent.h"

#include <QAbstractTableModel>

// The rows of one open document. Column 0 is the name, column 1 the value; the document window
// shows each column in its own list.
class Document : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn = 0, ValueColumn = 1 };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const FbiContent &content() const { return m_content; }
    void setContent(FbiContent content);

    QString name(int row) const { return m_content.name(row); }
    QString value(int row) const { return m_content.value(row); }
    void appendRow(const QString &name, const QString &value);
    void setValue(int row, const QString &value);
    void removeRow(int row);

private:
    FbiContent m_content;
};
