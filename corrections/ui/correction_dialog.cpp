#include "corrections/ui/correction_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <limits>

#include "common/ui/ui_text.h"
#include "corrections/ui/correction_texts.h"
#include "corrections/ui/run_corrector.h"
#include "lapdata/lap_time.h"
#include "session/command_guard.h"

namespace korimet {

namespace {

namespace t = correctiontexts;

QString qs(const char* text) { return uiText(text); }

enum Column { LapColumn, TimeColumn, VerdictColumn, SuggestionColumn, ChoiceColumn, Columns };

const char* fixText(std::optional<CorrectionKind> kind) {
    if (!kind) return t::kFixNone;
    switch (*kind) {
        case CorrectionKind::MergeIntoNext:
            return t::kFixMergeNext;
        case CorrectionKind::MergeIntoPrevious:
            return t::kFixMergePrevious;
        case CorrectionKind::Split:
            return t::kFixSplit;
        case CorrectionKind::LeaveOut:
            return t::kFixLeaveOut;
    }
    return t::kFixNone;
}

const char* verdictText(const CorrectedLap& lap, Suspect suspect) {
    if (lap.leftOut) return t::kVerdictLeftOut;
    if (suspect == Suspect::Short) return t::kVerdictShort;
    if (suspect == Suspect::Long) return t::kVerdictLong;
    if (lap.origin == LapOrigin::Merged) return t::kVerdictMerged;
    if (lap.origin == LapOrigin::Split) return t::kVerdictSplit;
    return "";
}

constexpr CorrectionKind kAllKinds[] = {CorrectionKind::MergeIntoNext,
                                        CorrectionKind::MergeIntoPrevious, CorrectionKind::Split,
                                        CorrectionKind::LeaveOut};

// The laps a step changes, from the lowest: a merge into the previous lap changes that one.
int lowestLapChanged(const Correction& step) {
    return step.kind == CorrectionKind::MergeIntoPrevious ? step.lap - 1 : step.lap;
}

}  // namespace

CorrectionDialog::CorrectionDialog(RunCorrector& corrector, QWidget& window)
    : QDialog(&window, Qt::Window), corrector_(corrector) {
    setObjectName(qs(t::kWindowName));
    setFixedText(this, t::kWindowTitle, TextRole::WindowTitle);
    build();
    connect(&corrector_, &RunCorrector::changed, this, &CorrectionDialog::refresh);
    refresh();
}

void CorrectionDialog::build() {
    auto* layout = new QVBoxLayout(this);  // owned by the dialog

    lapList = new QTableWidget(0, Columns, this);  // owned by the dialog
    lapList->setObjectName("lapList");
    showHeadings();
    lapList->verticalHeader()->hide();
    lapList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lapList->setSelectionBehavior(QAbstractItemView::SelectRows);
    lapList->setSelectionMode(QAbstractItemView::SingleSelection);
    lapList->horizontalHeader()->setStretchLastSection(true);
    lapList->setTabKeyNavigation(false);
    layout->addWidget(lapList, 1);

    auto* choiceRow = new QHBoxLayout;       // owned by the layout
    auto* choiceCaption = new QLabel(this);  // owned by the dialog
    setFixedText(choiceCaption, t::kChoiceCaption);
    choiceBox = new QComboBox(this);  // owned by the dialog
    choiceBox->setObjectName("choiceBox");
    choiceCaption->setBuddy(choiceBox);
    choiceRow->addWidget(choiceCaption);
    choiceRow->addWidget(choiceBox, 1);
    layout->addLayout(choiceRow);

    stateLabel = new QLabel(this);  // owned by the dialog
    stateLabel->setObjectName("stateLabel");
    stateLabel->setWordWrap(true);
    layout->addWidget(stateLabel);

    auto* limits = new QGroupBox(this);  // owned by the dialog
    setFixedText(limits, t::kLimitsCaption);
    auto* limitsRow = new QHBoxLayout(limits);  // owned by the box
    auto addLimit = [&](const char* caption, const char* suffix, const char* name, double low,
                        double high, double step) {
        auto* label = new QLabel(limits);  // owned by the box
        setFixedText(label, caption);
        auto* box = new QDoubleSpinBox(limits);  // owned by the box
        box->setObjectName(name);
        box->setDecimals(2);
        box->setRange(low, high);
        box->setSingleStep(step);
        box->setSuffix(qs(suffix));
        box->setProperty("korimetSuffix", QByteArray(suffix));
        label->setBuddy(box);
        limitsRow->addWidget(label);
        limitsRow->addWidget(box);
        return box;
    };
    shortLimitBox =
        addLimit(t::kShortLimitCaption, t::kShortLimitSuffix, "shortLimitBox", 0.05, 0.99, 0.05);
    longLimitBox =
        addLimit(t::kLongLimitCaption, t::kLongLimitSuffix, "longLimitBox", 1.01, 5.0, 0.1);
    limitsRow->addStretch(1);
    layout->addWidget(limits);
    limitsProblemLabel = new QLabel(this);  // owned by the dialog
    limitsProblemLabel->setObjectName("limitsProblemLabel");
    limitsProblemLabel->hide();
    layout->addWidget(limitsProblemLabel);

    auto* buttons = new QDialogButtonBox(this);  // owned by the dialog
    applyButton = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    applyButton->setObjectName("applyButton");
    setFixedText(applyButton, t::kApplyButton);
    undoButton = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    undoButton->setObjectName("undoButton");
    setFixedText(undoButton, t::kUndoButton);
    undoAllButton = buttons->addButton(QString(), QDialogButtonBox::ResetRole);
    undoAllButton->setObjectName("undoAllButton");
    setFixedText(undoAllButton, t::kUndoAllButton);
    QPushButton* closeButton = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    closeButton->setObjectName("closeButton");
    setFixedText(closeButton, t::kCloseButton);
    for (QPushButton* button : {applyButton, undoButton, undoAllButton, closeButton})
        button->setAutoDefault(false);
    layout->addWidget(buttons);

    connect(lapList, &QTableWidget::itemSelectionChanged, this, &CorrectionDialog::onRowSelected);
    connect(choiceBox, &QComboBox::activated, this, &CorrectionDialog::onChoiceChosen);
    // The buttons that write the correction file run under the guard every command of the
    // window runs under, named by the button.
    auto guarded = [this](QPushButton* button, std::function<void()> command) {
        return [this, button, command = std::move(command)] {
            runGuarded(corrector_.dialogs(), commandName(button->text()), command);
        };
    };
    connect(applyButton, &QPushButton::clicked, this,
            guarded(applyButton, [this] { applyChoices(); }));
    connect(undoButton, &QPushButton::clicked, this, guarded(undoButton, [this] {
                refused_ = 0;
                corrector_.undo();
            }));
    connect(undoAllButton, &QPushButton::clicked, this, guarded(undoAllButton, [this] {
                refused_ = 0;
                corrector_.undoAll();
            }));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(shortLimitBox, &QDoubleSpinBox::valueChanged, this, &CorrectionDialog::onLimitsEdited);
    connect(longLimitBox, &QDoubleSpinBox::valueChanged, this, &CorrectionDialog::onLimitsEdited);

    // Room for the five columns and a long run's laps, well inside a 1366x768 screen.
    resize(640, 560);
}

void CorrectionDialog::refresh() {
    const CorrectedRun& run = corrector_.corrections().run();
    rows_.clear();
    if (corrector_.hasRun()) {
        const std::vector<Suggestion> suggestions = suggestCorrections(run, corrector_.limits());
        std::vector<Row> others;
        for (std::size_t i = 0; i < run.laps.size(); ++i) {
            Row row;
            row.lap = static_cast<int>(i);
            for (const CorrectionKind kind : kAllKinds) {
                if (checkCorrection(run.laps, {kind, row.lap}) == CorrectionRefusal::None)
                    row.possible.push_back(kind);
            }
            const auto suggested =
                std::find_if(suggestions.begin(), suggestions.end(),
                             [&](const Suggestion& s) { return s.lap == row.lap; });
            if (suggested != suggestions.end()) {
                row.suspect = suggested->suspect;
                row.suggestion = suggested->fix;
                row.choice = suggested->fix.kind;
                rows_.push_back(row);
            } else {
                others.push_back(row);
            }
        }
        rows_.insert(rows_.end(), others.begin(), others.end());
    }
    {
        const QSignalBlocker blockShort(shortLimitBox);
        const QSignalBlocker blockLong(longLimitBox);
        shortLimitBox->setValue(corrector_.limits().shortBelow);
        longLimitBox->setValue(corrector_.limits().longAbove);
    }
    showRows();
    showState();
    const std::size_t steps = corrector_.corrections().steps().size();
    showApplyEnabled();
    // While the file is being written, no step can be taken on top of the one under way.
    undoButton->setEnabled(steps > 0 && !corrector_.busy());
    undoAllButton->setEnabled(steps > 0 && !corrector_.busy());
}

void CorrectionDialog::showApplyEnabled() {
    applyButton->setEnabled(
        !corrector_.busy() &&
        std::any_of(rows_.begin(), rows_.end(), [](const Row& r) { return r.choice.has_value(); }));
}

void CorrectionDialog::showState() {
    const std::size_t steps = corrector_.corrections().steps().size();
    const auto suspects = static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.suggestion; }));
    QStringList state;
    if (!corrector_.hasRun()) {
        state << qs(t::kNoRun);
    } else {
        state << (suspects > 0 ? qs(t::kSuspectCount).arg(suspects) : qs(t::kNoSuspects));
        state << (steps > 0 ? qs(t::kStepCount).arg(steps) : qs(t::kAsDownloaded));
        if (refused_ > 0) state << qs(t::kRefused).arg(refused_);
    }
    stateLabel->setText(state.join(QStringLiteral("  ")));
}

void CorrectionDialog::showHeadings() {
    lapList->setHorizontalHeaderLabels({qs(t::kColumnLap), qs(t::kColumnTime),
                                        qs(t::kColumnVerdict), qs(t::kColumnSuggestion),
                                        qs(t::kColumnChoice)});
}

// The rows as they are, choices and selection kept, in the window's language now.
void CorrectionDialog::showRowTexts() {
    const CorrectedRun& run = corrector_.corrections().run();
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const Row& row = rows_[r];
        const CorrectedLap& lap = run.laps[static_cast<std::size_t>(row.lap)];
        const auto at = static_cast<int>(r);
        lapList->item(at, VerdictColumn)->setText(qs(verdictText(lap, row.suspect)));
        lapList->item(at, SuggestionColumn)
            ->setText(row.suggestion ? qs(fixText(row.suggestion->kind)) : QString());
        lapList->item(at, ChoiceColumn)->setText(qs(fixText(row.choice)));
    }
    for (int i = 0; i < choiceBox->count(); ++i) {
        const int kind = choiceBox->itemData(i).toInt();
        choiceBox->setItemText(
            i, qs(kind < 0 ? t::kFixNone : fixText(static_cast<CorrectionKind>(kind))));
    }
    lapList->resizeColumnsToContents();
}

void CorrectionDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        showHeadings();
        for (QDoubleSpinBox* box : {shortLimitBox, longLimitBox})
            box->setSuffix(qs(box->property("korimetSuffix").toByteArray().constData()));
        showRowTexts();
        showState();
        if (limitsProblemLabel->isVisibleTo(this))
            limitsProblemLabel->setText(qs(t::kLimitsInvalid));
    }
    QDialog::changeEvent(event);
}

void CorrectionDialog::showRows() {
    const CorrectedRun& run = corrector_.corrections().run();
    const QSignalBlocker block(lapList);
    lapList->clearContents();
    lapList->setRowCount(static_cast<int>(rows_.size()));
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const Row& row = rows_[r];
        const CorrectedLap& lap = run.laps[static_cast<std::size_t>(row.lap)];
        const QString cells[Columns] = {
            QString::number(row.lap + 1),
            QString::fromStdString(lapTimeOrPlaceholder(lap.seconds)),
            qs(verdictText(lap, row.suspect)),
            row.suggestion ? qs(fixText(row.suggestion->kind)) : QString(),
            qs(fixText(row.choice)),
        };
        for (int c = 0; c < Columns; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);  // owned by the table
            if (c <= TimeColumn) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            lapList->setItem(static_cast<int>(r), c, item);
        }
    }
    lapList->resizeColumnsToContents();
    if (!rows_.empty()) lapList->selectRow(0);
    onRowSelected();
}

void CorrectionDialog::onRowSelected() {
    choiceBox->clear();
    const int current = lapList->currentRow();
    const bool any = current >= 0 && current < static_cast<int>(rows_.size());
    choiceBox->setEnabled(any);
    if (!any) return;
    const Row& row = rows_[static_cast<std::size_t>(current)];
    choiceBox->addItem(qs(t::kFixNone), -1);
    for (const CorrectionKind kind : row.possible)
        choiceBox->addItem(qs(fixText(kind)), static_cast<int>(kind));
    const int chosen = row.choice ? static_cast<int>(*row.choice) : -1;
    choiceBox->setCurrentIndex(std::max(0, choiceBox->findData(chosen)));
}

void CorrectionDialog::onChoiceChosen(int index) {
    const int current = lapList->currentRow();
    if (current < 0 || current >= static_cast<int>(rows_.size()) || index < 0) return;
    Row& row = rows_[static_cast<std::size_t>(current)];
    const int kind = choiceBox->itemData(index).toInt();
    if (kind < 0) {
        row.choice.reset();
    } else {
        row.choice = static_cast<CorrectionKind>(kind);
    }
    lapList->item(current, ChoiceColumn)->setText(qs(fixText(row.choice)));
    showApplyEnabled();
}

void CorrectionDialog::applyChoices() {
    std::vector<Correction> chosen;
    for (const Row& row : rows_) {
        if (row.choice) chosen.push_back({*row.choice, row.lap});
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const Correction& a, const Correction& b) { return a.lap > b.lap; });
    // A step that would land on a lap an earlier step already changed is left for the
    // racer to look at again.
    std::vector<Correction> steps;
    int overlapping = 0;
    int lowestChanged = std::numeric_limits<int>::max();
    for (const Correction& step : chosen) {
        const int reach = step.kind == CorrectionKind::MergeIntoNext ? step.lap + 1 : step.lap;
        if (reach >= lowestChanged) {
            ++overlapping;
            continue;
        }
        steps.push_back(step);
        lowestChanged = lowestLapChanged(step);
    }
    refused_ = overlapping;
    refused_ += corrector_.apply(steps);
    // Once more, for the count of steps not made.
    refresh();
}

void CorrectionDialog::onLimitsEdited() {
    const SuspectLimits limits{shortLimitBox->value(), longLimitBox->value()};
    const bool ok = corrector_.setLimits(limits);
    limitsProblemLabel->setText(ok ? QString() : qs(t::kLimitsInvalid));
    limitsProblemLabel->setVisible(!ok);
}

}  // namespace korimet
