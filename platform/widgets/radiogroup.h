#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A captioned group of exclusive choices (the RdGrp… components): the chosen item's index, and a
// signal when the user picks one. Each button is named after the group with its index ("_0", "_1").
class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(const QString& name, const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int itemIndex() const;
    // Sets the choice without the click signal.
    void setItemIndex(int index);
    // Picks an item as a user click does.
    void click(int index);

signals:
    void clicked(int index);

private:
    QButtonGroup* group_;
};
