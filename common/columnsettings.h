#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
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

// One check list as the settings stand: an item per field of its dataset, and its ticks.
struct ListState
{
    QStringList labels;
    QList<bool> ticked;
};

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

// The datasets the settings apply to and the settings as last read. The window set owns one and
// hands it to the data modules that register their lists and to the window that shows them.
class Registry : public QObject
{
public:
    Registry() = default;

    // Makes a dataset known by its name (objectName): the check list of that dataset lists its
    // fields, and the decimal counts format its fields of their groups. Every data module registers
    // the datasets of the tables above that it holds, after setting their handlers. A dataset whose
    // fields appear only when it opens is dealt with when it opens: the settings last read are
    // applied to it after its own after-open handler, and the list observer is told. A dataset not
    // registered (or without fields yet) leaves its line of the file as it was. A registration
    // lasts as long as the dataset (or this registry); a later dataset of the same name takes its place.
    void registerDataset(SmpDataset& dataset);
    SmpDataset* registeredDataset(const QString& name) const;

    ListState listState(int list);
    // Told the list whose dataset has just opened with other fields than its list shows.
    void setListObserver(std::function<void(int list)> observer);

    // Reads the file and applies it to the registered datasets' fields: visibility per list line
    // (fields beyond a line's end stay visible), display formats per decimal count. With no file
    // every item is ticked and nothing changes. Whatever can be read is applied; the rest is listed
    // in problems. currentDigits are kept where the file gives no usable value.
    Applied apply(const std::array<int, kDigits>& currentDigits);

private:
    // The settings as last read from the file; applied again to a dataset each time it opens.
    struct Stored
    {
        bool fileRead = false;  // false: no file (or none readable), so the design values stand
        std::array<QByteArray, kLists> lines;
        QByteArray digitsLine;
    };
    SmpDataset* listDataset(int list) const;
    bool applyStored(SmpDataset& ds) const;
    QString lengthProblem(int list, const SmpDataset& ds);
    void checkLateList(const SmpDataset& ds);
    void datasetOpened(SmpDataset& ds);

    QHash<QString, QPointer<SmpDataset>> datasets_;
    Stored stored_;
    std::array<bool, kLists> lengthChecked_{};  // the line was held against its list's fields
    std::array<qsizetype, kLists> shownFields_{};  // items each list was last handed
    std::function<void(int)> observer_;
};

// The eleven lines for these choices.
// A list with no ticks (its dataset not known yet) writes its kept line.
QByteArray fileContent(const std::array<QList<bool>, kLists>& ticked, const std::array<int, kDigits>& digits,
                       const std::array<QByteArray, kLists>& keptLines);
// Replaces the file whole (never half written); the reason when it cannot be written.
QString save(const QByteArray& content);

// The notice for an apply's problems; empty when there are none.
QString problemsMessage(const QStringList& problems);

} // namespace ColumnSettings
