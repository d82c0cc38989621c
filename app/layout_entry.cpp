// Tab "Entrada de dados": producer, soil analysis, expected yield, and the
// picture of a harvested plant.
#include "app/TFPrincipal.h"
#include "app/widgets_factory.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>

void TFPrincipal::buildEntryTab()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Entrada de dados"));
    GroupBox2 = ui::fillingGroup(TabSheet1, QStringLiteral("GroupBox2"));

    // The groups are created in their tab order: analysis, production, producer;
    // on screen the producer stands at the top.
    constexpr int left = 8, groupWidth = 440;

    GroupBox7 = ui::group(GroupBox2, QStringLiteral("GroupBox7"), QStringLiteral("Dados da Análise do Solo"), left,
                          150, groupWidth, 352);
    constexpr int labelX = 12, valueX = 132, classX = 222, rowStep = 27, firstRow = 22;
    const auto row = [](int index) { return firstRow + index * rowStep; };
    const auto rowLabel = [&](const QString &text, int index) {
        ui::label(GroupBox7, text, labelX, row(index) + 3, valueX - labelX - 4);
    };
    const QStringList labels{QStringLiteral("Denominação"),      QStringLiteral("N° do laudo"),
                             QStringLiteral(" Argila (%)"),       QStringLiteral("pH"),
                             QStringLiteral("P (mg/dm³)"),        QStringLiteral("K (mg/dm³)"),
                             QStringLiteral("MO (%)"),            QStringLiteral("Al (cmol/dm³)"),
                             QStringLiteral("Ca (cmol/dm³)"),     QStringLiteral("Mg (cmol/dm³)"),
                             QStringLiteral("CTC (cmol/dm³)"),    QStringLiteral("V -Sat Bases (%)")};
    for (int i = 0; i < labels.size(); ++i)
        rowLabel(labels[i], i);
    const auto valueField = [&](const char *name, int index) {
        return ui::edit(GroupBox7, QString::fromLatin1(name), valueX, row(index), 80);
    };
    const auto classField = [&](const char *name, int index) {
        return ui::edit(GroupBox7, QString::fromLatin1(name), classX, row(index), 110);
    };
    Edit1 = valueField("Edit1", 2);
    Edit2 = valueField("Edit2", 4);
    Edit3 = valueField("Edit3", 5);
    Edit4 = valueField("Edit4", 6);
    Edit5 = valueField("Edit5", 7);
    Edit6 = valueField("Edit6", 8);
    Edit7 = valueField("Edit7", 9);
    Edit8 = valueField("Edit8", 10);
    Edit9 = valueField("Edit9", 11);
    Edit10 = classField("Edit10", 5);
    Edit11 = classField("Edit11", 4);
    Edit60 = valueField("Edit60", 1);
    Edit59 = ui::edit(GroupBox7, QStringLiteral("Edit59"), valueX, row(0), 290);
    Edit68 = classField("Edit68", 2);
    Edit69 = classField("Edit69", 10);
    Edit70 = valueField("Edit70", 3);

    GroupBox8 = ui::group(GroupBox2, QStringLiteral("GroupBox8"), QStringLiteral("Dados da produção"), left, 510,
                          groupWidth, 56);
    Edit12 = ui::labelledEdit(GroupBox8, QStringLiteral("Expectativa de produção (t/ha)"), QStringLiteral("Edit12"),
                              labelX, 22, 180, 80, QStringLiteral("25"));

    GroupBox24 = ui::group(GroupBox2, QStringLiteral("GroupBox24"), QStringLiteral("Dados do Produtor"), left, 8,
                           groupWidth, 134);
    constexpr int producerLabel = 70, producerField = 340;
    Edit55 = ui::labelledEdit(GroupBox24, QStringLiteral("Nome"), QStringLiteral("Edit55"), labelX, 22,
                              producerLabel, producerField);
    Edit56 = ui::labelledEdit(GroupBox24, QStringLiteral("CPF"), QStringLiteral("Edit56"), labelX, 49, producerLabel,
                              140);
    Edit57 = ui::labelledEdit(GroupBox24, QStringLiteral("Localidade"), QStringLiteral("Edit57"), labelX, 76,
                              producerLabel, producerField);
    Edit58 = ui::labelledEdit(GroupBox24, QStringLiteral("Município"), QStringLiteral("Edit58"), labelX, 103,
                              producerLabel, producerField);

    const QList<QWidget *> tabChain{Edit1,  Edit2,  Edit3,  Edit4,  Edit5,  Edit6,  Edit7,  Edit8,
                                    Edit9,  Edit10, Edit11, Edit60, Edit59, Edit68, Edit69, Edit70,
                                    Edit12, Edit55, Edit56, Edit57, Edit58};
    for (qsizetype i = 1; i < tabChain.size(); ++i)
        setTabOrder(tabChain[i - 1], tabChain[i]);

    // The picture is shown at its own size from the top-left corner.
    Image2 = new QLabel(GroupBox2);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(462, 14, 693, 502);
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image2->setScaledContents(false);
    Image2->setPixmap(ui::screenPixels(QStringLiteral(":/assets/plant.rgb32")));

    Label94 = new QLabel(QStringLiteral("Planta de mandioca com produção de 6 kg, em densidade de  10.000 plantas por "
                                        "hectare. Ilustração: equipe Tuberon."),
                         GroupBox2);
    Label94->setObjectName(QStringLiteral("Label94"));
    Label94->setTextFormat(Qt::PlainText);
    QFont captionFont = Label94->font();
    captionFont.setPointSize(9);
    Label94->setFont(captionFont);
    ui::setTextColour(Label94, ui::colour::blue);
    Label94->setWordWrap(true);
    Label94->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label94->setGeometry(462, 522, 693, 36);
}
