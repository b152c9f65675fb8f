#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class SmpDataset;

// The report column settings of the workstation: which fields ten lists show and how many
// decimals quantities and prices get. They live in the file "TrxField.txt" of the user's
// configuration folder: eleven lines of single-byte text ending in CR LF; lines 1 to 10 hold one
// "1" (shown) or "0" (hidden) per field of their list's dataset, in field order; line 11 holds the
// three decimal counts.
namespace ColumnSettings {

constexpr int kLists = 10;
constexpr int kDigits = 3;

struct ListSpec
{
    const char* checkList;  // component of the check list on the settings tab
    const char* caption;    // its group caption
    const char* dataset;    // the dataset whose fields it lists
};
const std::array<ListSpec, kLists>& lists();

struct DigitSpec
{
    const char* spinBox;
    const char* label;
    int initial;
};
const std::array<DigitSpec, kDigits>& digits();
constexpr int kMaxDecimals = 5;

// The fields one decimal count formats: dataset name, field names.
struct FieldGroup
{
    const char* dataset;
    QStringList fields;
};
const QList<FieldGroup>& digitFields(int digit);
// "# ### ##0" for 0 decimals, "# ### ##0.00" for 2, ...
QString formatFor(int decimals);

QString filePath();

// Makes a dataset known by its name (objectName): the check list of that dataset lists its
// fields, and the decimal counts format its fields of their groups. Every data module registers
// the datasets of the tables above that it holds, after setting their handlers. A dataset whose
// fields appear only when it opens is dealt with when it opens: the settings last read are
// applied to it after its own after-open handler, and the list observer is told. A dataset not
// registered (or without fields yet) leaves its line of the file as it was. A registration
// lasts as long as the dataset; a later dataset of the same name takes its place.
void registerDataset(SmpDataset& dataset);
SmpDataset* registeredDataset(const QString& name);

// One check list as the settings stand: an item per field of its dataset, and its ticks.
struct ListState
{
    QStringList labels;
    QList<bool> ticked;
};
ListState listState(int list);
// Told the list whose dataset has just opened with other fields than its list shows.
void setListObserver(std::function<void(int list)> observer);

// What the settings tab shows after an apply.
struct Applied
{
    bool fileFound = false;
    std::array<ListState, kLists> lists;
    std::array<int, kDigits> digits{};
    // Lines of lists whose dataset is not known yet, written back unchanged on save.
    std::array<QByteArray, kLists> keptLines;
    // What could not be read, one text each; empty for a sound file.
    QStringList problems;
};

// Reads the file and applies it to the registered datasets' fields: visibility per list line
// (fields beyond a line's end stay visible), display formats per decimal count. With no file
// every item is ticked and nothing changes. Whatever can be read is applied; the rest is listed
// in problems. currentDigits are kept where the file gives no usable value.
Applied apply(const std::array<int, kDigits>& currentDigits);

// The eleven lines for these choices.
// A list with no ticks (its dataset not known yet) writes its kept line.
QByteArray fileContent(const std::array<QList<bool>, kLists>& ticked, const std::array<int, kDigits>& digits,
                       const std::array<QByteArray, kLists>& keptLines);
// Replaces the file whole (never half written); the reason when it cannot be written.
QString save(const QByteArray& content);

// The notice for an apply's problems; empty when there are none.
QString problemsMessage(const QStringList& problems);

} // namespace ColumnSettings
