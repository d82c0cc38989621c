#pragma once
// The mineral fertilizers the user can choose for an application, with their
// guaranteed N, P2O5 and K2O contents in percent. Built into the program:
// the user cannot add, change or remove products.
#include <QString>
#include <QStringList>
#include <array>

namespace fertilizers {

struct MineralFertilizer {
    const char *plantingText;    // item of the planting list
    const char *topDressingText; // item of the three top-dressing lists
    // Contents as the percentage fields show them: a whole number, or empty
    // when the product carries none of that nutrient ("0" is a content too).
    const char *n;
    const char *p2o5;
    const char *k2o;
};

inline constexpr int mineralCount = 25;

// One row per product, in the order of the lists (the index is the item's position).
// Item texts keep their doubled and trailing blanks: they are shown as they stand.
inline constexpr std::array<MineralFertilizer, mineralCount> AdubosMinerais{{
    {"Uréia (45%N)", "Uréia ", "45", "", ""},
    {"Sulfato de amônio (20% )", "Sulfato de amônio ", "20", "", ""},
    {"Nitrato de amônio (32%N)", "Nitrato de amônio ", "32", "", ""},
    {"Nitrato de cálcio  (14%N)", "Nitrato de cálcio  ", "14", "", ""},
    {"Superfosfato Simples (18%P205)", "Superfosfato Simples ", "", "18", ""},
    {"Superfosfato Triplo (41%P205)", "Superfosfato Triplo ", "", "41", ""},
    // The ammonium phosphates are counted by their P2O5 only.
    {"Fosfato monoamônico (MAP)( 48%P2O5)", "Fosfato Monoamônico (MAP)", "", "48", ""},
    {"Fosfato diamônico (DAP (45%P2O5)", "Fosfatodiamônico (DAP ", "", "45", ""},
    {"Fosf. Natural par. acidulado (20%P205)", "Fosf. Natural par. acidulado ", "", "20", ""},
    {"Termofosfato magnesiano (17%P205)", "Termofofato magnesiano ", "", "17", ""},
    {"Fosfato Natural (4% P2O5)", "Fosfato Natural ", "", "4", ""},
    {"Fosfato Natural reativo (9%P2O5)", "Fosfatro Natural Reativo ", "", "9", ""},
    {"Cloreto de Potássio (58% K2O)", "Cloreto de Potássio ", "", "", "58"},
    {"Sulfato de Potássio (48% K2O)", "Sulfato de  Potássio ", "", "", "48"},
    // Compound fertilizers: the grade N-P2O5-K2O is the three contents.
    {"Adubo 05-20-10", "Adubo 05-20-10", "5", "20", "10"},
    {"Adubo 05-20-20", "Adubo 05-20-20", "5", "20", "20"},
    {"Adubo 04-20-20", "Adubo 04-20-20", "4", "20", "20"},
    {"Adubo 04-14-08", "Adubo 04-14-08", "4", "14", "8"},
    {"Adubo 07-11-09", "Adubo 07-11-09", "7", "11", "9"},
    {"Adubo 04-28-14", "Adubo 04-28-14", "4", "28", "14"},
    {"Adubo 07-30-13", "Adubo 07-30-13", "7", "30", "13"},
    {"Adubo 13-13-28", "Adubo 13-13-28", "13", "13", "28"},
    {"Adubo 10-05-20", "Adubo 10-05-20", "10", "5", "20"},
    {"Adubo 20-00-20", "Adubo 20-00-20", "20", "0", "20"},
    {"Adubo 25-00-25", "Adubo 25-00-25", "25", "0", "25"},
}};

// The three contents of one product, as texts for the percentage fields.
struct Contents {
    QString n, p2o5, k2o;
};

// The product at a list position; nullptr for any position outside the
// catalogue (-1 when nothing is selected), which matches no product.
const MineralFertilizer *mineralAt(int index);
Contents contentsOf(const MineralFertilizer &product);

// The items of the planting list and of the top-dressing lists, in catalogue order.
QStringList plantingItems();
QStringList topDressingItems();

} // namespace fertilizers
