// Every handler of the window and the event that starts it, in one table.
// The layout files only build widgets; the case buttons wire themselves
// beside their handlers (case_handlers.cpp), as do the keyboard rules.
#include "agronomy/Applications.h"
#include "app/ApplicationBlock.h"
#include "app/StringGrid.h"
#include "app/TFPrincipal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

void TFPrincipal::wireHandlers()
{
    enum class Event { Exit, Change, Click, Pick, DateChange, PickerClick };
    struct Wire {
        QWidget *widget;
        Event event;
        Handler handler;
    };
    using E = Event;
    using T = TFPrincipal;
    const Wire wires[] = {
        // Soil analysis and expected yield, interpreted as each field is left.
        {Edit1, E::Exit, &T::Edit1Exit},
        {Edit2, E::Exit, &T::Edit2Exit},
        {Edit3, E::Exit, &T::Edit3Exit},
        {Edit4, E::Exit, &T::Edit4Exit},
        {Edit5, E::Exit, &T::Edit5Exit},
        {Edit6, E::Exit, &T::Edit6Exit},
        {Edit7, E::Exit, &T::Edit7Exit},
        {Edit8, E::Exit, &T::Edit8Exit},
        {Edit9, E::Exit, &T::Edit9Exit},
        {Edit12, E::Exit, &T::Edit12Exit},
        // Split of N and K2O; the P2O5 dose follows its field.
        {Button3, E::Click, &T::Button3Click},
        {Button4, E::Click, &T::Button4Click},
        {Button17, E::Click, &T::Button17Click},
        {edit32, E::Change, &T::edit32Change},
        // Planting's organic fertilizer and the choice of block
        {ComboBox1, E::Pick, &T::ComboBox1Change},
        {RadioButton1, E::Click, &T::RadioButton1Click},
        {RadioButton2, E::Click, &T::RadioButton2Click},
        {Button5, E::Click, &T::Button5Click},
        {Button6, E::Click, &T::Button6Click},
        // Reports
        {Button12, E::Click, &T::Button12Click},
        {Button16, E::Click, &T::Button16Click},
    };
    // Each application's block answers "Faltante", "Calcular" and "Inserir"
    // by itself; its list's pick and "Limpar" are named here.
    const std::array<std::pair<Handler, Handler>, 4> blockHandlers{{
        {&T::ComboBox2Change, &T::Button7Click},
        {&T::ComboBox3Change, &T::Button13Click},
        {&T::ComboBox4Change, &T::Button20Click},
        {&T::ComboBox5Change, &T::Button23Click},
    }};
    for (size_t i = 0; i < blocks_.size(); ++i) {
        const auto [pick, clear] = blockHandlers[i];
        blocks_[i]->wire([this, pick = pick] { (this->*pick)(); }, [this, clear = clear] { (this->*clear)(); });
    }
    for (const Wire &wire : wires) {
        switch (wire.event) {
        case E::Exit:
            onExit(wire.widget, wire.handler);
            break;
        case E::Change:
            onChange(static_cast<QLineEdit *>(wire.widget), wire.handler);
            break;
        case E::Click:
            onClick(static_cast<QAbstractButton *>(wire.widget), wire.handler);
            break;
        case E::Pick:
            onPick(static_cast<QComboBox *>(wire.widget), wire.handler);
            break;
        case E::DateChange:
            onDateChange(static_cast<QDateEdit *>(wire.widget), wire.handler);
            break;
        case E::PickerClick:
            onPickerClick(static_cast<QDateEdit *>(wire.widget), wire.handler);
            break;
        }
    }
}
