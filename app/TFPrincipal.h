#pragma once
#include "cases/FormatOne.h"
#include "model/Case.h"
#include "cases/CaseFile.h"
#include "fertilizers/Closing.h"
#include "core/Failure.h"
#include "core/NumberText.h"
#include "agronomy/Worksheet.h"
#include "core/Working.h"
#include "app/ApplicationBlock.h"
#include "app/HandlerHost.h"
#include "app/WorkingLedger.h"

#include <QDateTimeEdit>
#include <QHash>
#include <QSet>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <QLocale>
#include <QTimer>
#include <QWidget>

namespace batch {
struct LabSample;
}
class QAbstractButton;
class QCheckBox;
class QChartView;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class StringGrid;
class CalendarChart;
class CalendarTab;
class LimingTab;
class AboutTab;
namespace calendar {
struct Plan;
} // namespace calendar
namespace reports {
class PageReport;
class PdfExport;
struct ReportContent;
} // namespace reports

// The one window of the program. Every component carries its own name as
// objectName; handlers are named after the component and the event.
class TFPrincipal : public QWidget {
    Q_OBJECT
public:
    explicit TFPrincipal(const QLocale &regional = QLocale(), QWidget *parent = nullptr);
    ~TFPrincipal() override;

    using Handler = void (TFPrincipal::*)();

    // ---- Outside the tabs
    QTabWidget *PageControl1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QDateEdit *DateTimePicker3 = nullptr;

    // ---- Tab 1 "Entrada de dados"
    QWidget *TabSheet1 = nullptr;
    QGroupBox *GroupBox2 = nullptr, *GroupBox24 = nullptr, *GroupBox7 = nullptr, *GroupBox8 = nullptr;
    QLineEdit *Edit55 = nullptr, *Edit56 = nullptr, *Edit57 = nullptr, *Edit58 = nullptr;
    QLineEdit *Edit59 = nullptr, *Edit60 = nullptr, *Edit70 = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr, *Edit5 = nullptr;
    QLineEdit *Edit6 = nullptr, *Edit7 = nullptr, *Edit8 = nullptr, *Edit9 = nullptr;
    QLineEdit *Edit10 = nullptr, *Edit11 = nullptr, *Edit68 = nullptr, *Edit69 = nullptr;
    QLineEdit *Edit12 = nullptr;
    QLabel *Image2 = nullptr, *Label94 = nullptr;

    // ---- Tab 2 "Indicação de Calagem" (LimingTab); the soil handlers write its criteria.
    QWidget *TabSheet2 = nullptr;
    QLineEdit *Edit13 = nullptr, *Edit14 = nullptr;
    QLineEdit *Edit16 = nullptr, *Edit17 = nullptr, *Edit18 = nullptr, *Edit19 = nullptr;
    QLineEdit *Edit20 = nullptr, *Edit21 = nullptr, *Edit22 = nullptr;
    QLineEdit *Edit26 = nullptr, *Edit27 = nullptr, *Edit28 = nullptr, *Edit29 = nullptr;
    QLineEdit *Edit61 = nullptr, *Edit23 = nullptr, *Edit24 = nullptr, *Edit25 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr;

    // ---- Tab 3 "Definição das Doses de NPK"
    QWidget *TabSheet3 = nullptr;
    QGroupBox *GroupBox4 = nullptr, *GroupBox17 = nullptr, *GroupBox18 = nullptr, *GroupBox19 = nullptr;
    QGroupBox *GroupBox20 = nullptr, *GroupBox21 = nullptr, *GroupBox22 = nullptr, *GroupBox23 = nullptr;
    QLineEdit *edit30 = nullptr, *edit31 = nullptr, *edit32 = nullptr;
    StringGrid *stga1 = nullptr, *stga2 = nullptr;
    QPushButton *Button3 = nullptr, *Button4 = nullptr, *Button17 = nullptr;
    QLabel *Label34 = nullptr;

    // ---- Tab 4 "Definição da Adubação"
    QWidget *TabSheet6 = nullptr;
    QGroupBox *GroupBox6 = nullptr;
    StringGrid *stga3 = nullptr;
    // Planting and the three top-dressings share one shape (ApplicationBlock);
    // these are planting's and the top-dressings' components the handlers
    // here name. Planting has an organic block of its own besides.
    using Application = ApplicationBlock;
    StringGrid *stga4 = nullptr, *stga5 = nullptr, *Stga6 = nullptr, *stga7 = nullptr;
    QComboBox *ComboBox2 = nullptr, *ComboBox3 = nullptr, *ComboBox4 = nullptr, *ComboBox5 = nullptr;
    QLineEdit *Edit50 = nullptr, *Edit52 = nullptr, *Edit40 = nullptr;
    QPushButton *Button7 = nullptr, *Button9 = nullptr;
    QGroupBox *GroupBox27 = nullptr;
    // planting's organic fertilizer
    QGroupBox *GroupBox34 = nullptr, *GroupBox26 = nullptr, *GroupBox37 = nullptr, *GroupBox38 = nullptr,
              *GroupBox52 = nullptr;
    QRadioButton *RadioButton1 = nullptr, *RadioButton2 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLineEdit *Edit33 = nullptr;
    QPushButton *Button5 = nullptr, *Button6 = nullptr;
    QLineEdit *Edit62 = nullptr, *Edit63 = nullptr, *Edit65 = nullptr;
    QRadioButton *RadioButton3 = nullptr, *RadioButton4 = nullptr, *RadioButton5 = nullptr, *RadioButton6 = nullptr;
    QLineEdit *Edit87 = nullptr, *Edit88 = nullptr;

    // ---- Tab 5 "Calendário de Adubação" (CalendarTab)
    QWidget *calendarTab = nullptr; // this tab page has no component name
    QChartView *Chart1 = nullptr;
    CalendarChart *calendarChart = nullptr;
    QDateEdit *DateTimePicker2 = nullptr;
    QCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr, *CheckBox3 = nullptr, *CheckBox4 = nullptr;
    QRadioButton *RadioButton7 = nullptr, *RadioButton8 = nullptr;

    // ---- Tab 6 "Relatório"
    QWidget *TabSheet4 = nullptr;
    QGroupBox *GroupBox5 = nullptr, *GroupBox41 = nullptr;
    QPushButton *Button12 = nullptr, *Button16 = nullptr;
    QPlainTextEdit *Memo3 = nullptr;
    QLineEdit *Edit15 = nullptr;
    QLabel *Image1 = nullptr;
    // The page report and its PDF export: not shown on the window.
    reports::PageReport *frxReport1 = nullptr;
    reports::PdfExport *frxPDFExport1 = nullptr;

    // ---- Handlers: soil interpretation and doses
    void Edit1Exit();
    void Edit2Exit();
    void Edit3Exit();
    void Edit4Exit();
    void Edit5Exit();
    void Edit6Exit();
    void Edit7Exit();
    void Edit8Exit();
    void Edit9Exit();
    void Edit12Exit();
    void ClasseP();
    void ClasseK();
    void DoseN();
    void DoseK();
    void DoseP();

    // ---- Handlers: liming
    void Button1Click();
    void Button2Click();

    // ---- Handlers: split of N and K, P2O5 propagation, "Faltante" colours
    void Button3Click();
    void Button4Click();
    void Button17Click();
    void edit32Change();
    void Edit50Change();
    void Edit52Change();
    void Edit54Change();
    void Edit64Change();
    void Edit66Change();
    void Edit67Change();
    void Edit49Change();
    void Edit51Change();
    void Edit53Change();
    void Edit78Change();
    void Edit79Change();
    void Edit80Change();

    // ---- Handlers: planting fertilization
    void ComboBox1Change();
    void Button5Click();
    void Button6Click();
    void ComboBox2Change();
    void Button8Click();
    void Button9Click();
    void Button7Click();
    void RadioButton1Click();
    void RadioButton2Click();

    // ---- Handlers: top-dressings (one entry point per block and button)
    void ComboBox3Change();
    void ComboBox4Change();
    void ComboBox5Change();
    void Button10Click();
    void Button18Click();
    void Button21Click();
    void Button11Click();
    void Button19Click();
    void Button22Click();
    void Button13Click();
    void Button20Click();
    void Button23Click();

    // ---- Handlers: calendar chart
    void Grafico1();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void RadioButton7Click();
    void RadioButton8Click();
    void DateTimePicker2Change();
    void DateTimePicker2Click();
    void Button14Click();
    void Button15Click();

    // ---- Handlers: reports
    void Button12Click();
    void Button16Click();

    // ---- Start-up
    void FormShow();

    // ---- Case files: beside "&Fechar", outside the tabs
    QPushButton *btnNovo = nullptr, *btnAbrir = nullptr, *btnSalvar = nullptr;
    // Replaces the window's contents by the case in the file; on failure
    // shows why and leaves the window as it was. Unsaved changes are not
    // asked about here: the buttons, keys, drops and closing ask first.
    bool openCase(const QString &path);
    // Writes the window's contents to the file; on failure shows why and
    // keeps the file as it was. Over the file last opened or saved, asks
    // first when another program or window has written it since.
    bool saveCase(const QString &path);
    // The window as at start, for the next producer (without asking).
    void newCase();
    // Whether the case differs from what was last opened, saved or started
    // (the tab shown is no change); the caption marks it with "*".
    bool caseModified() const;
    // The file last opened or saved; empty for a new case.
    const QString &caseFile() const { return caseFile_; }
    // What a case file would hold now.
    model::Case caseState() const;

    void btnNovoClick();
    void btnAbrirClick();
    void btnSalvarClick();

    // ---- One sample of a laboratory's file (import_handlers.cpp)
    QPushButton *btnImportar = nullptr;
    void btnImportarClick();

    // ---- The store of cases (store_handlers.cpp)
    QPushButton *btnCasos = nullptr;
    // "Casos..." (Ctrl+L): the browser of the store; a season chosen opens
    // in the window, after the unsaved-changes question.
    void btnCasosClick();
    // The store "Salvar..." records into and "Casos..." opens first
    // (tuberon.sqlite in the user's data folder unless set).
    QString casesPath() const { return casesPath_; }
    void setCasesPath(const QString &path) { casesPath_ = path; }
    // Replaces the window's contents by a season's case from the store.
    bool openStoredCase(const model::Case &c, qint64 season);

    // ---- The least-cost composition (least_cost_handlers.cpp)
    QPushButton *btnMenorCusto = nullptr;
    void btnMenorCustoClick();

    // ---- The working of each result (working.cpp)
    QPushButton *btnMemoria = nullptr;
    // "Memória de cálculo...": the whole working, previewed, printed, as PDF or as text.
    void btnMemoriaClick();
    // What a computed field, or a cell of a grid, holds, told: the rule and
    // the values that gave it; said to be typed when it was, and stale when
    // a value it was computed from has changed since. Empty where nothing is computed.
    QString workingOf(const QWidget *field) const;
    QString workingOf(const StringGrid *grid, int column, int row) const;
    // Every result the window holds, told as above, in the order computed.
    CaseWorking caseWorking() const;

    const NumberText &numbers() const { return numbers_; }
    const QLocale &regional() const { return regional_; }

    // The values last interpreted from the soil analysis; a saved case keeps
    // them, since the liming choice reads the clay content from here.
    const agronomy::Worksheet &worksheet() const { return worksheet_; }
    void setWorksheet(const agronomy::Worksheet &worksheet) { worksheet_ = worksheet; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // What both reports copy, as the fields, memos and grids stand now.
    reports::ReportContent reportContent() const;
    // Ctrl+S: to the current file, asking a name the first time.
    void saveCurrentCase();
    // What "Faltante" holds in each application, kg/ha, planting first; an
    // empty or exceeded amount is nothing missing.
    std::array<fertilizers::NutrientNeed, fertilizers::applicationCount> missingNutrients() const;
    // Inserts the composed products into the applications' lists through
    // "Inserir", and keeps the prices and the composition with the case.
    void applyComposition(const fertilizers::PriceList &prices, const fertilizers::Composition &composition);
    // Where a result comes from: a field, or a cell of a grid.
    using Place = WorkingLedger::Place;
    // Keeps how a handler reached the result it just wrote at a place, and
    // the texts of the places it read; a copy is told but not listed again
    // in the whole working.
    using Kind = WorkingLedger::Kind;
    void explain(const Place &at, const QString &section, const Told &told, std::initializer_list<Place> from,
                 Kind kind = Kind::Result);

    // ---- Building the tabs (one file each)
    void buildEntryTab();
    void buildDosesTab();
    void buildFertilizationTab();
    void buildReportTab();
    void wireKeyboard();
    void wireHandlers();
    void buildCaseButtons();
    void buildImportButton();
    void buildLeastCostButton();
    void buildCasesButton();
    // After a save: the case recorded in the store as its producer's field's
    // season, asking before it replaces a season this window did not open
    // or record.
    void recordInCases(const model::Case &c);

    // ---- Case files (case_binder.cpp, case_state.cpp, case_handlers.cpp)
    // Whether a component's contents belong to a case (its changes are watched).
    bool inCase(const QWidget *component) const;
    // Raises the damaged-file failure for what the file holds and this
    // window cannot take (a list position beyond its items, a date beyond
    // its picker); checked before any component is touched.
    void checkCase(const model::Case &c, const QString &fileName) const;
    // Writes the case into the components with their signals blocked: no
    // handler runs and no message shows (case_binder.cpp).
    void restoreCase(const model::Case &c);
    // A case of format 1, keyed by these components' names, as the model.
    model::Case migrated(const cases::FormatOne &old, const QString &fileName) const;
    // The components the binder names, in its order, found once.
    const std::vector<QWidget *> &caseComponents() const;
    // Redraws what the restored texts and choices decide: the "Faltante"
    // colours, the planting block's organic or mineral group, the chart.
    void redrawAfterRestore();
    // The start-up steps, once, whichever comes first: the first show or a
    // case opened before it.
    void startOnce();
    void resetToStart();
    QString askCaseFile(bool saving);
    bool saveCaseAs();
    // Ctrl+S and the prompt's "Salvar": to the current file, or a name asked.
    bool saveToCurrentFile();
    // Before a case is discarded: true when it may go (nothing changed,
    // saved, or "Descartar"), false for "Cancelar" or a save that failed.
    bool mayDiscardCase();
    // The file was written elsewhere since: "Substituir" answers true.
    bool mayReplaceChangedFile(const QString &path);
    void setCaseFile(const QString &path);
    // What the caption and the questions compare with: the case as just
    // opened, saved or started, and the file's contents then.
    void markUnmodified(const cases::Stamp &stamp = {});
    void takeUnmodifiedOnce();
    void updateCaption(bool modified);
    // Changes of the components are looked at once the event is over; from
    // the first frame on, or from the first case opened or started.
    void watchForChanges();
    // A file dragged over the window or any of its fields; answers whether
    // the event was one.
    bool caseDragEvent(QEvent *event);
    // What the first frame does not show, done right after it.
    void afterFirstFrame();
    LimingTab *liming_ = nullptr;
    CalendarTab *calendar_ = nullptr;
    // ---- Tab 7 "Sobre": the program's text, which no case holds.
    AboutTab *about_ = nullptr;

public:
    // ---- Every handler started by an event runs inside the guard (HandlerHost).
    void guard(Handler handler);
    void guard(const std::function<void()> &work);
    // Reads a field through the number conversion (raises on bad text).
    double read(const QLineEdit *field) const;
    // Types the sample's producer and analysis into their fields in the
    // Enter order, key by key, as a user would (the store's tests type seasons so).
    void typeSample(const batch::LabSample &sample);

private:
    // The event plumbing and the reading and writing of fields, as the
    // handlers here reach them.
    HandlerHost *host_ = nullptr;
    using KeyRule = HandlerHost::KeyRule;
    void showError(const QString &message);
    void onExit(QWidget *field, Handler handler);
    void onChange(QLineEdit *field, Handler handler);
    void onClick(QAbstractButton *button, Handler handler);
    void onPick(QComboBox *list, Handler handler);
    void onDateChange(QDateEdit *picker, Handler handler);
    void onPickerClick(QDateEdit *picker, Handler handler);
    void onKey(QLineEdit *field, KeyRule rule, QWidget *successor = nullptr);
    double read(const QString &text) const;
    QString fmt(double value, int places) const;
    void write(QLineEdit *field, const QString &text);

public:
    // The block of a row of stga3 (applications::Planting to ThirdTopDressing).
    const ApplicationBlock &application(int row) const;
    // The "Faltante" field of an application (its row of stga3) for a
    // nutrient column of stga3 (applications::NColumn to K2OColumn).
    QLineEdit *faltante(int row, int nutrientColumn) const;

private:
    std::array<ApplicationBlock *, 4> blocks_{}; // planting, then the top-dressings
    ApplicationBlock &block(int row) const;
    // "Limpar" of an application: its list emptied and its products out of
    // the composition applied.
    void clearProducts(int row);
    // The closing criterion of the organic planting proposal, as selected.
    fertilizers::ClosingCriterion closingCriterion() const;

    QLocale regional_;
    NumberText numbers_;
    QString labFolder_; // where the last laboratory's file was imported from
    agronomy::Worksheet worksheet_;
    // The prices and the composition last applied, kept with the case; the
    // technician's own list, read at the first "Menor custo...".
    std::optional<fertilizers::PriceList> prices_;
    std::optional<fertilizers::Composition> composition_;
    // The options of "Menor custo..." as last left, for its next opening.
    std::optional<fertilizers::CompositionOptions> leastCostOptions_;
    std::optional<fertilizers::PriceList> userPrices_;
    bool shown_ = false;
    QString caseFile_;
    QString casesPath_;       // the store of cases
    qint64 storedSeason_ = 0; // the store's season the window's case was opened from or recorded as
    cases::Stamp caseFileStamp_; // caseFile_ as last read or written here
    model::Case unmodified_;     // the case as last opened, saved or started
    bool unmodifiedTaken_ = false;
    QTimer modifiedCheck_;       // a change seen; the caption follows
    model::Case startState_; // the components as built, before start-up
    mutable std::vector<QWidget *> caseComponents_;
    bool painted_ = false;
    // ---- The working of each result (working.cpp)
    std::unique_ptr<WorkingLedger> working_;
    QString placeName(const Place &place) const;
    bool showWorking(QObject *watched, QEvent *event);
    void wireWorking();
};
