#include "preferences/AdvancedTab.h"

#include "ocr/OCRLanguages.h"
#include "ocr/TextRecognizer.h"

#include "preferences/PreferencesLayout.h"
#include "preferences/SettingsBinder.h"
#include "settings/SettingsEnums.h"
#include "settings/SettingsKeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

struct BoxRow {
    const char* row;
    const char* box;
    const char* key;
    const char* toolTip;
};

// In display order; the two pop-ups sit first and among them.
constexpr BoxRow upperBoxes[] = {
    {"OCR line breaks", "Remove line breaks", keys::ocrRemoveLineBreaks, nullptr},
    {"Menubar icon", "Hide menubar icon", keys::hideMenubarIcon,
     "Reopen Pictro from the applications menu or with the Show Pictro hotkey"},
    {"Splash window", "Don't show splash", keys::noSplash, nullptr},
    {"Main window", "Always on top", keys::alwaysOnTop, nullptr},
    {"Zoom with mouse wheel", "Reverse scroll direction", keys::zoomReverseScroll, nullptr},
    {"Scrolling capture", "Reverse scroll direction", keys::scrollingReverse, nullptr},
    {"Default zoom level", "Prefer 100%", keys::preferZoom100, nullptr},
};
constexpr BoxRow lowerBoxes[] = {
    {"URL Scheme API", "Enable deep links", keys::urlSchemeEnabled,
     "pictro://capture?type=area|fullscreen|window · pictro://ocr"},
    {"Diagnostics information", "Allow collection", keys::diagnostics, nullptr},
};

QCheckBox* boundBox(SettingsBinder& binder, const char* label, const char* key) {
    auto* box = new QCheckBox(QString::fromUtf8(label));
    box->setObjectName(QString::fromLatin1(key));
    binder.bindCheckBox(box, key);
    return box;
}

void addBoxRow(QVBoxLayout* stack, SettingsBinder& binder, const BoxRow& r) {
    QCheckBox* box = boundBox(binder, r.box, r.key);
    if (r.toolTip) box->setToolTip(QString::fromUtf8(r.toolTip));
    prefslayout::addRow(stack, QString::fromUtf8(r.row))->addWidget(box);
}

QComboBox* boundPopUp(SettingsBinder& binder, const char* key, const Choice& choice, int width) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(key));
    box->setFixedWidth(width);
    binder.bindComboBox(box, key, choice);
    return box;
}

// The three fixed reading choices, then every language pack installed on this computer alone.
Choice ocrLanguageChoice() {
    Choice choice = Choice::of(ocrLanguageText);
    for (const QString& pack : ocrlanguages::selectablePacks(textrecognizer::installedPacks())) {
        choice.raws << pack;
        choice.labels << ocrlanguages::packLabel(pack);
    }
    return choice;
}

} // namespace

AdvancedTab::AdvancedTab(SettingsBinder& binder, QWidget* parent) : QWidget(parent) {
    QVBoxLayout* stack = prefslayout::tabStack(this, 12, 24);
    prefslayout::addRow(stack, QStringLiteral("Primary OCR language"))
        ->addWidget(boundPopUp(binder, keys::ocrLanguage, ocrLanguageChoice(), 200));
    for (const BoxRow& r : upperBoxes)
        addBoxRow(stack, binder, r);

    QHBoxLayout* esc = prefslayout::addRow(stack, QStringLiteral("Action when hiding with Esc"));
    esc->addWidget(boundBox(binder, "Copy Image", keys::escCopy));
    esc->addWidget(boundBox(binder, "Save Image", keys::escSave));

    prefslayout::addRow(stack, QStringLiteral("Confirmation style"))
        ->addWidget(boundPopUp(binder, keys::confirmationStyle, Choice::of(confirmationStyleText), 200));
    for (const BoxRow& r : lowerBoxes)
        addBoxRow(stack, binder, r);

    stack->addSpacing(6);
    QLabel* note = prefslayout::secondaryLabel(
        QStringLiteral("Pictro collects nothing at all — this toggle is kept only for completeness. "
                       "Screenshots never leave this computer."),
        true);
    note->setWordWrap(true);
    stack->addWidget(note);
}
