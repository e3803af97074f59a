#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "corrections/lap_corrections.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace korimet {

class RunCorrector;

// The correction window of the shown run: its laps with the suspects first, the fix
// suggested for each and the one the racer chose; apply, undo the last, undo all, and the
// limits that make a lap suspect. Shows what the corrector holds and changes it only there.
class CorrectionDialog : public QDialog {
    Q_OBJECT
  public:
    CorrectionDialog(RunCorrector& corrector, QWidget& window);

    // One row of the list.
    struct Row {
        int lap = 0;  // in the corrected list
        Suspect suspect = Suspect::None;
        std::optional<Correction> suggestion;
        std::optional<CorrectionKind> choice;
        std::vector<CorrectionKind> possible;  // the fixes the lap allows now
    };
    const std::vector<Row>& rows() const { return rows_; }

    // The choices of every row, applied last lap first so that each step's lap is still
    // where the list showed it.
    void applyChoices();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void build();
    void showHeadings();
    void showState();
    void showRowTexts();
    void refresh();
    void showApplyEnabled();
    void showRows();
    void onRowSelected();
    void onChoiceChosen(int index);
    void onLimitsEdited();

    RunCorrector& corrector_;
    std::vector<Row> rows_;
    int refused_ = 0;

    // Each owned by the dialog.
    QTableWidget* lapList = nullptr;       // lapList
    QComboBox* choiceBox = nullptr;        // choiceBox
    QPushButton* applyButton = nullptr;    // applyButton
    QPushButton* undoButton = nullptr;     // undoButton
    QPushButton* undoAllButton = nullptr;  // undoAllButton
    QDoubleSpinBox* shortLimitBox = nullptr;
    QDoubleSpinBox* longLimitBox = nullptr;
    QLabel* stateLabel = nullptr;
    QLabel* limitsProblemLabel = nullptr;
};

}  // namespace korimet
