// Every handler of the window and the event that starts it, in one table.
// The layout files only build widgets; the case buttons wire themselves
// beside their handlers (case_handlers.cpp), as do the keyboard rules.
#include "agronomy/Applications.h"
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
        // Liming
        {Button1, E::Click, &T::Button1Click},
        {Button2, E::Click, &T::Button2Click},
        // Split of N and K2O; the P2O5 dose follows its field.
        {Button3, E::Click, &T::Button3Click},
        {Button4, E::Click, &T::Button4Click},
        {Button17, E::Click, &T::Button17Click},
        {edit32, E::Change, &T::edit32Change},
        // "Faltante" colours, planting then the three top-dressings.
        {Edit50, E::Change, &T::Edit50Change},
        {Edit52, E::Change, &T::Edit52Change},
        {Edit54, E::Change, &T::Edit54Change},
        {cobertura[0].faltante[applications::N], E::Change, &T::Edit64Change},
        {cobertura[0].faltante[applications::P2O5], E::Change, &T::Edit66Change},
        {cobertura[0].faltante[applications::K2O], E::Change, &T::Edit67Change},
        {cobertura[1].faltante[applications::N], E::Change, &T::Edit49Change},
        {cobertura[1].faltante[applications::P2O5], E::Change, &T::Edit51Change},
        {cobertura[1].faltante[applications::K2O], E::Change, &T::Edit53Change},
        {cobertura[2].faltante[applications::N], E::Change, &T::Edit78Change},
        {cobertura[2].faltante[applications::P2O5], E::Change, &T::Edit79Change},
        {cobertura[2].faltante[applications::K2O], E::Change, &T::Edit80Change},
        // Planting fertilization
        {ComboBox1, E::Pick, &T::ComboBox1Change},
        {ComboBox2, E::Pick, &T::ComboBox2Change},
        {RadioButton1, E::Click, &T::RadioButton1Click},
        {RadioButton2, E::Click, &T::RadioButton2Click},
        {Button5, E::Click, &T::Button5Click},
        {Button6, E::Click, &T::Button6Click},
        {Button7, E::Click, &T::Button7Click},
        {Button8, E::Click, &T::Button8Click},
        {Button9, E::Click, &T::Button9Click},
        // Top-dressings
        {ComboBox3, E::Pick, &T::ComboBox3Change},
        {ComboBox4, E::Pick, &T::ComboBox4Change},
        {ComboBox5, E::Pick, &T::ComboBox5Change},
        {cobertura[0].calcular, E::Click, &T::Button10Click},
        {cobertura[0].inserir, E::Click, &T::Button11Click},
        {cobertura[0].limpar, E::Click, &T::Button13Click},
        {cobertura[1].calcular, E::Click, &T::Button18Click},
        {cobertura[1].inserir, E::Click, &T::Button19Click},
        {cobertura[1].limpar, E::Click, &T::Button20Click},
        {cobertura[2].calcular, E::Click, &T::Button21Click},
        {cobertura[2].inserir, E::Click, &T::Button22Click},
        {cobertura[2].limpar, E::Click, &T::Button23Click},
        // Calendar chart
        {CheckBox1, E::Click, &T::CheckBox1Click},
        {CheckBox2, E::Click, &T::CheckBox2Click},
        {CheckBox3, E::Click, &T::CheckBox3Click},
        {CheckBox4, E::Click, &T::CheckBox4Click},
        {RadioButton7, E::Click, &T::RadioButton7Click},
        {RadioButton8, E::Click, &T::RadioButton8Click},
        {Button14, E::Click, &T::Button14Click},
        {Button15, E::Click, &T::Button15Click},
        {DateTimePicker2, E::DateChange, &T::DateTimePicker2Change},
        {DateTimePicker2, E::PickerClick, &T::DateTimePicker2Click},
        // Reports
        {Button12, E::Click, &T::Button12Click},
        {Button16, E::Click, &T::Button16Click},
    };
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
