#include "shell/ui/accessible_names.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>

#include "common/ui/ui_text.h"
#include "shell/ui/shell_texts.h"

namespace korimet {

namespace {

constexpr const char* kReadsItsText = "korimetReadsItsText";

// A value label: its name says what the value is, its description is the value shown now,
// so the reader follows every redraw without being told.
class ValueLabelAccessible : public QAccessibleWidget {
  public:
    explicit ValueLabelAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty()) {
            return static_cast<const QLabel*>(widget())->text();
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* valueLabelFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QLabel") || !object->property(kReadsItsText).toBool()) {
        return nullptr;
    }
    return new ValueLabelAccessible(static_cast<QLabel*>(object));  // owned by QAccessible
}

void nameControl(QWidget& window, const char* objectName, const char* name) {
    if (auto* control = window.findChild<QWidget*>(QLatin1String(objectName))) {
        setFixedText(control, name, TextRole::AccessibleName);
    }
}

// captionName may be null for a value with no caption of its own.
void nameValue(QWidget& window, const char* valueName, const char* captionName, const char* name) {
    auto* value = window.findChild<QLabel*>(QLatin1String(valueName));
    if (!value) return;
    // Marked first: naming it may already make its interface, which is then kept.
    value->setProperty(kReadsItsText, true);
    setFixedText(value, name, TextRole::AccessibleName);
    if (!captionName) return;
    if (auto* caption = window.findChild<QLabel*>(QLatin1String(captionName))) {
        caption->setBuddy(value);  // tells the reader which caption labels the value
    }
}

}  // namespace

void nameControlsForScreenReaders(QWidget& window) {
    QAccessible::installFactory(valueLabelFactory);  // once: Qt ignores a second install
    nameControl(window, "MSFlexGrid1", texts::kGridAccessibleName);
    nameControl(window, "MSChart1", texts::kChartAccessibleName);
    nameControl(window, "RichTextBox1", texts::kMemoAccessibleName);
    nameControl(window, "Combo1", texts::kPortComboAccessibleName);
    struct Value {
        const char* value;
        const char* caption;
        const char* name;
    };
    const Value values[] = {
        {"Label4", "Label10", texts::kCarIdAccessibleName},
        {"Label5", "Label11", texts::kLapCountAccessibleName},
        {"Label6", "Label1", texts::kTargetAccessibleName},
        {"Label17", "Label16", texts::kBestAccessibleName},
        {"Label21", "Label20", texts::kWorstAccessibleName},
        {"Label19", "Label18", texts::kAverageAccessibleName},
        {"Label25", nullptr, texts::kBestDiffAccessibleName},
        {"Label26", nullptr, texts::kWorstDiffAccessibleName},
        {"Label27", nullptr, texts::kAverageDiffAccessibleName},
        {"Label7", nullptr, texts::kRaceLineAccessibleName},
    };
    for (const Value& v : values) nameValue(window, v.value, v.caption, v.name);
}

}  // namespace korimet
