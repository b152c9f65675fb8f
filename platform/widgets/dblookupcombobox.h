#pragma once

#include "platform/widgets/dtsource.h"
#include "platform/widgets/fielddatalink.h"

#include <QComboBox>
#include <QPointer>

class DatasetModel;
class SmpDataset;

// A drop-down list of the rows of a list dataset, showing listField, identified by keyField.
// Bound to a field (setDataSource/setDataField) it shows the row whose key equals the field and a
// choice writes the key into the field in edit mode; unbound it keeps the chosen key itself
// (keyValue). Either way a choice also makes the chosen row the list dataset's current row;
// closeUp() follows a choice made in the open list, chosen() every choice (list, keys or wheel).
class DBLookupComboBox : public QComboBox, public FieldBound
{
    Q_OBJECT
public:
    explicit DBLookupComboBox(QWidget* parent = nullptr);

    void setListSource(DataSource* source);
    DataSource* listSource() const { return listSource_; }
    void setKeyField(const QString& name);
    const QString& keyField() const { return keyField_; }
    void setListField(const QString& name);
    const QString& listField() const { return listField_; }

    // The key shown: the bound field's value, or the key chosen last when unbound.
    QVariant keyValue() const;
    void setKeyValue(const QVariant& key);
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }

    void showPopup() override;
    void hidePopup() override;

signals:
    void closeUp();
    void chosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    SmpDataset* listDataset() const;
    QVariant keyAt(int position) const;
    int positionOf(const QVariant& key) const;
    bool canChoose() const;
    void bindList();
    void showKey();
    void choose(int position);

    QPointer<DataSource> listSource_;
    DatasetModel* model_;
    QString keyField_, listField_;
    QVariant key_;
    bool readOnly_ = false;
    bool syncing_ = false;
    bool popupOpen_ = false;
    bool choosingFromPopup_ = false;
};
