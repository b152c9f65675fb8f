#pragma once

#include "platform/ui/form.h"

#include <QList>
#include <functional>

class QFormLayout;
class QToolButton;
class DBEdit;
class DBLookupComboBox;
class DataSource;
class SmpDataset;

// The common behaviour of the small editors of one row of a shared lookup list. The caller puts the
// row in insert mode (new) or leaves it current in browse mode (edit) and shows the editor modally.
// "Запис" posts the row when every required edit shows a text; with one left empty the editor says
// so and stays open with what was typed. "Изход" and closing the window cancel a pending change.
class TFormLookupEditor : public Form
{
    Q_OBJECT
public:
    SmpDataset& dataset() const { return dataset_; }
    DataSource* source() const { return source_; }
    QToolButton* saveButton() const { return save_; }
    QToolButton* exitButton() const { return exit_; }

    // The save step of "Запис" and of the Enter key in the edits that save.
    void save();
    void exitClick();

protected:
    TFormLookupEditor(const QString& objectName, const QString& caption, SmpDataset& dataset,
                      const QString& sourceName, const QString& saveName, const QString& exitName,
                      const QString& requiredMessage);

    DBEdit* addEdit(const QString& name, const QString& caption, const QString& field, int chars, bool required,
                    bool enterSaves);
    DBLookupComboBox* addLookup(const QString& name, const QString& caption, const QString& field,
                                DataSource* list, const QString& keyField, const QString& listField);
    // Runs once the editor has closed after a save.
    std::function<void()> afterSave;

    void closeEvent(QCloseEvent* event) override;

private:
    bool editing() const;
    void dropPending();

    SmpDataset& dataset_;
    DataSource* source_;
    QFormLayout* fields_;
    QToolButton* save_;
    QToolButton* exit_;
    QString requiredMessage_;
    QList<DBEdit*> required_;
};
