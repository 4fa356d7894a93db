// GUI tests of ovardix under the offscreen platform: the dialog framework on the example
// study, questions, the unattended run, the editors' launch, cancelling a long run.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

#include "app/ui/command_line.h"
#include "app/ui/dbf_column_dialog.h"
#include "app/ui/editor_launch.h"
#include "app/ui/form_builder.h"
#include "app/ui/main_window.h"
#include "app/ui/prompter.h"
#include "app/ui/result_view.h"
#include "app/ui/study_system_dialog.h"
#include "app/ui/substance_dialog.h"
#include "app/ui/tool_dialog.h"
#include "assess/assess_settings.h"
#include "common/dbf_reader.h"
#include "common/dbf_writer.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text.h"
#include "geotools/reference_grid.h"
#include "gis/gdal_services.h"
#include "inputs/conversion.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"
#include "ui_common/help_viewer.h"
#include "ui_common/menus.h"
#include "ui_common/qt_text.h"

using namespace ovd;
using namespace ovd::mainui;

// Settings of no tool: one declared key, members without one.
struct FormProbe {
    std::string declared, undeclared;
    bool flag = false;
    using Self = FormProbe;
    static const std::vector<Param<Self>> kParams;
};
const std::vector<Param<FormProbe>> FormProbe::kParams =
    declare<Self>({inSection("Sonda", {key("Deklarovany", &Self::declared)})});

namespace {

// Records every message box and answers questions from a script (then their default).
class ScriptedPrompter : public Prompter, public RecordingReporter {
public:
    void message(Severity s, std::string_view caption, std::string_view text) override
    {
        RecordingReporter::message(s, caption, text);
    }
    Answer ask(const Question& q) override { return RecordingReporter::ask(q); }
    bool shown(std::string_view text) const
    {
        for (const Message& m : messages)
            if (m.text.find(text) != std::string::npos)
                return true;
        return false;
    }
    std::string all() const
    {
        std::string s;
        for (const Message& m : messages)
            s += m.caption + ": " + m.text + "\n";
        return s;
    }
};

std::string readAll(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().toStdString();
}

// The menus as lines: each entry indented under its menu, with its shortcut and object name.
void listMenu(QMenu* menu, const QString& indent, QStringList& lines)
{
    for (QAction* a : menu->actions()) {
        if (a->menu()) {
            lines << indent + a->text();
            listMenu(a->menu(), indent + "  ", lines);
        } else if (a->isSeparator()) {
            lines << indent + "-";
        } else {
            QString shortcut = a->shortcut().toString();
            lines << indent + a->text() + (shortcut.isEmpty() ? "" : " [" + shortcut + "]") + " " + a->objectName();
        }
    }
}

QStringList menuLines(QMenuBar* bar)
{
    QStringList lines;
    for (QAction* top : bar->actions()) {
        lines << top->text();
        listMenu(top->menu(), "  ", lines);
    }
    return lines;
}

}  // namespace

class UiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDir> m_dir;
    std::unique_ptr<Profile> m_profile;
    Services m_services;  // the GIS library as the program hands it to its tools
    ScriptedPrompter m_prompter;
    QString m_oldDir;

    // The project p.ovd, worked on in its folder, with `file` holding `text` as its input `key`.
    Project projectWithInput(const char* key, const std::string& file, const std::string& text)
    {
        QDir::setCurrent(QString::fromStdString(m_dir->root()));
        Project p = Project::open(m_dir->path("p.ovd"));
        RecordingReporter r;
        p.writeString("Global", key, file, r);
        if (!writeFileAtomically(m_dir->path(file), text))
            QTest::qFail("the input was not written", __FILE__, __LINE__);
        return p;
    }

    // The example study in a fresh folder (the project's paths are relative to it), its
    // reference grid cut down to `side` x `side` points.
    Project study(int side)
    {
        std::filesystem::copy(OVD_SOURCE_DIR "/examples/study", m_dir->root(),
                              std::filesystem::copy_options::recursive);
        QDir::setCurrent(QString::fromStdString(m_dir->root()));
        Project p = Project::open(m_dir->path("study.ovd"));
        RecordingReporter r;
        p.writeString("NovyRefer", "PocetX", std::to_string(side), r);
        p.writeString("NovyRefer", "PocetY", std::to_string(side), r);
        for (auto [key, value] :
             {std::pair{"VstThetaBin", "theta.bin"}, {"VstDeltaBin", "delta.bin"}, {"VstZmaxBin", "zmax.bin"}})
            p.writeString("Global", key, value, r);
        p.writeString("VypocetRocni", "VystDbf", "rocni.dbf", r);
        p.writeString("VypocetRocni", "KrokVypoctu", "2", r);
        return p;
    }

    ToolStatus runDialog(const char* id, Project& p, bool unattended = false)
    {
        ToolDialog d(*findToolForm(id), p, *m_profile, m_services);
        d.show();
        return d.runTool({}, unattended);
    }

    void viewMatrix(Project& p)
    {
        // The matrix viewer lists the header of its stored input as it opens; the first
        // click on "zobrazit hodnoty", straight from the path field, shows the values.
        RecordingReporter settings;
        p.writeString("MaticeExport", "VstBinMatice", "theta.bin", settings);
        ToolDialog matrix(*findToolForm("matrix-export"), p, *m_profile, m_services);
        QVERIFY2(matrix.outputText().contains(QString::fromUtf8("Počet sloupců : 36")),
                 qPrintable(matrix.outputText()));
        matrix.show();
        QApplication::setActiveWindow(&matrix);
        matrix.fieldWidget("VstBinMatice")->setFocus();
        auto* showValues = matrix.findChild<QCheckBox*>(QString(), Qt::FindDirectChildrenOnly);
        QTest::mouseClick(showValues, Qt::LeftButton);
        QVERIFY(showValues->isChecked());
        QCOMPARE(matrix.results()->listView(1)->model()->rowCount() > 0, true);
        QVERIFY2(matrix.outputText().contains(QString::fromUtf8("Počet sloupců : 36")),
                 qPrintable(matrix.outputText()));
        ResultView* lists = matrix.results();
        QCOMPARE(lists->tableCount(), 2);
        QVERIFY(lists->listView(0)->isHeaderHidden());
        QCOMPARE(lists->listView(0)->model()->rowCount(), 2);
        QAbstractItemModel* values = lists->listView(1)->model();
        QCOMPARE(values->columnCount(), 37);
        QCOMPARE(values->headerData(36, Qt::Horizontal).toString(), QString("36"));
        const std::string sources = readAll(m_dir->path("zdroje.bin"));
        QCOMPARE(values->rowCount(),
                 int(static_cast<unsigned char>(sources.at(0)) | static_cast<unsigned char>(sources.at(1)) << 8));
        QCOMPARE(values->index(0, 0).data().toString(), QString("1"));
        QCOMPARE(values->index(0, 1).data().toString().size(), 11);  // "%11.5lf"
        // Without "zobrazit hodnoty" the header stays listed and the values go.
        matrix.findChild<QCheckBox*>(QString(), Qt::FindDirectChildrenOnly)->setChecked(false);
        QCOMPARE(lists->tableCount(), 2);
        QCOMPARE(lists->listView(0)->model()->rowCount(), 2);
        QCOMPARE(lists->listView(1)->model()->rowCount(), 0);
    }

    void exportChosenColumns(Project& p)
    {
        // The text export asks for its columns; the chosen ones are written in field order.
        ToolDialog dbf(*findToolForm("dbf-export"), p, *m_profile, m_services);
        dbf.setValue("VstDbf", "rocni.dbf");
        dbf.setValue("ZapisGis", "2");
        dbf.setValue("VystTxt", "rocni.txt");
        QTimer::singleShot(100, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "dbfColumns" && w->isVisible()) {
                    auto* found = w->findChild<QListWidget*>("found");
                    for (QString name : {"03", "02"}) {
                        found->setCurrentItem(found->findItems(name, Qt::MatchStartsWith).value(0));
                        for (QPushButton* b : w->findChildren<QPushButton*>())
                            if (b->text() == ">")
                                b->click();
                    }
                    for (QPushButton* b : w->findChildren<QPushButton*>())
                        if (b->text() == QString::fromUtf8("Pokračuj"))
                            b->click();
                }
        });
        QCOMPARE(dbf.runTool(), ToolStatus::Done);
        // "zobrazit hodnoty": "#" and the field names over the live records.
        dbf.findChild<QCheckBox*>(QString(), Qt::FindDirectChildrenOnly)->setChecked(true);
        QAbstractItemModel* records = dbf.results()->listView(0)->model();
        QCOMPARE(records->rowCount(), 36);
        QCOMPARE(records->headerData(0, Qt::Horizontal).toString(), QString("#"));
        QCOMPARE(records->headerData(2, Qt::Horizontal).toString(), QString("X_COORD   "));
        QCOMPARE(records->index(35, 0).data().toString(), QString("36"));
        // Every value column is as wide as its values.
        QTreeView* recordView = dbf.results()->listView(0);
        for (int c = 1; c + 1 < records->columnCount(); ++c)
            QVERIFY2(recordView->columnWidth(c) >= static_cast<QAbstractItemView*>(recordView)->sizeHintForColumn(c),
                     qPrintable(QString::number(c)));
        std::string text = readAll(m_dir->path("rocni.txt"));
        QCOMPARE(std::count(text.begin(), text.end(), '\n'), 36L);
        QCOMPARE(std::count(text.begin(), text.begin() + text.find('\n'), ','), 1L);
    }

    void isolinesAtListedValues(Project& p)
    {
        // Isolines at listed values: a value already listed is refused, one can be removed.
        ToolDialog iso(*findToolForm("isolines"), p, *m_profile, m_services);
        iso.setValue("VstDbf", "rocni.dbf");
        auto clickTip = [&](const char* tip) {
            for (QToolButton* b : iso.findChildren<QToolButton*>())
                if (b->toolTip() == QString::fromUtf8(tip))
                    b->click();
        };
        clickTip("Aktualizace seznamu sloupců vstupního DBF souboru");
        QCOMPARE(qobject_cast<QComboBox*>(iso.fieldWidget("PozSeznamSloupcu"))->itemText(5).trimmed(),
                 QString("CONC_AVG"));
        iso.setValue("PozSeznamSloupcu", "5");
        iso.setValue("TypIzolinie", "1");
        iso.setValue("PocetUsekuNaStrane", "8");
        for (const char* v : {"0,5", "2", "0.5"}) {
            iso.setValue("JmenHodnota", v);
            clickTip("Přidání jmenovité hodnoty do seznamu");
        }
        QVERIFY(m_prompter.shown("Hodnota je již v seznamu hodnot! "));
        QCOMPARE(iso.value("SeznamJmenHodnot"), QString("0.500000;2.000000"));
        qobject_cast<QListWidget*>(iso.fieldWidget("SeznamJmenHodnot"))->setCurrentRow(1);
        clickTip("Odebrání jmenovité hodnoty ze seznamu");
        QCOMPARE(iso.value("SeznamJmenHodnot"), QString("0.500000"));
        for (QPushButton* b : iso.findChildren<QPushButton*>())
            if (b->toolTip().startsWith(QString::fromUtf8("Vytvoření jmen")))
                b->click();
        m_prompter.messages.clear();
        QCOMPARE(iso.runTool(), ToolStatus::Done);
        QVERIFY2(fileExists(m_dir->path("rocni_izolinie.shp")), m_prompter.all().c_str());
        QCOMPARE(iso.statusText(0), QString::fromUtf8("Vytváření izolinií dokončeno."));
        QCOMPARE(p.readString("Izolinie", "SeznamJmenHodnot"), std::string("0.500000"));
    }

    // What a daily run on the study writes: the table of 25 points and the settings.
    void dailyTableAndSettingsWritten()
    {
        auto table = DbfTable::load(m_dir->path("denni.dbf"));
        QVERIFY(table);
        QCOMPARE(table->recordCount(), std::size_t(25));
        QCOMPARE(int(table->recordLength()), 86);
        std::optional<std::size_t> conc = table->findField("CONC_VALUE");
        QVERIFY(conc);
        for (std::size_t i = 0; i < table->recordCount(); ++i) {
            std::optional<double> c = parseDouble(trim(table->fieldText(i, *conc)));
            QVERIFY2(c && *c > 0.0, std::string(table->fieldText(i, *conc)).c_str());
        }
        for (const char* f : {"denni.vst", "zdroje.dbf", "prub_den.tmp"})
            QVERIFY2(fileExists(m_dir->path(f)), f);

        // The settings were written back, the numbers the way the tool stores them.
        Project saved = Project::open(m_dir->path("study.ovd"));
        QCOMPARE(saved.readString("VypocetDenni", "TridaStability"), std::string("4"));
        QCOMPARE(saved.readString("VypocetDenni", "RychlostVetru"), std::string("2.500000"));
        QCOMPARE(saved.readString("VypocetDenni", "SmerVetru"), std::string("45.000000"));
        QCOMPARE(saved.readString("VypocetDenni", "TridaLatky"), std::string("1"));
        QCOMPARE(saved.readString("VypocetDenni", "PoziceLatky"), std::string("1"));
        QCOMPARE(saved.readString("Global", "TypVypoctu"), std::string("0"));
    }

    // A result table of three points whose last column has these values.
    void writeTable(const std::string& name, std::vector<DbfField> fields, const std::vector<double>& last)
    {
        DbfWriter w;
        QVERIFY(w.open(m_dir->path(name), fields, 3, {2026, 12, 10}));
        for (std::size_t i = 0; i < last.size() / (fields.size() - 5); ++i) {
            std::vector<double> row{double(i + 1), 100.0 * double(i), 50.0, 300.0, 1.5};
            for (std::size_t c = 0; c < fields.size() - 5; ++c)
                row.push_back(last[i * (fields.size() - 5) + c]);
            QVERIFY(w.writeRecord(row));
        }
        QVERIFY(w.finish());
    }

    static std::vector<DbfField> pointTableFields(const char* first, std::vector<const char*> values)
    {
        std::vector<DbfField> f{{first, 10, 0, 0},
                                {"X_COORD", 15, 6, 0},
                                {"Y_COORD", 15, 6, 0},
                                {"Z_ELEV", 15, 6, 1},
                                {"L_ELEV", 15, 6, 1}};
        for (const char* v : values)
            f.push_back({v, 15, 6, 1});
        return f;
    }

    // A value of a table's column at a record, as a number.
    static double tableValue(const std::string& path, const char* column, std::size_t record)
    {
        auto t = DbfTable::load(path);
        std::optional<std::size_t> c = t ? t->findField(column) : std::nullopt;
        return c && record < t->recordCount() ? parseDouble(trim(t->fieldText(record, *c))).value_or(-1) : -1;
    }

    // Runs a dialog as its fields are set, its output named by the "Jména souborů" button;
    // the summary of the run is shown in its list.
    QString runWithNames(const char* id, Project& p, const std::vector<std::pair<const char*, const char*>>& fields,
                         const char* output)
    {
        ToolDialog d(*findToolForm(id), p, *m_profile, m_services);
        d.show();
        for (auto [key, value] : fields)
            d.setValue(key, QString::fromUtf8(value));
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->text() == QString::fromUtf8("Jména souborů"))
                b->click();
        if (d.value("VystDbf") != QString::fromUtf8(output))
            return "output " + d.value("VystDbf");
        if (d.runTool() != ToolStatus::Done)
            return QString::fromStdString("run failed: " + m_prompter.all());
        return d.results()->text();
    }

private slots:
    void initTestCase()
    {
        m_services.gis = &gdalServices();  // as the program hands them: the example study has a system
    }

    void init()
    {
        m_dir = std::make_unique<TempDir>();
        m_profile = std::make_unique<Profile>(m_dir->path("profile.ini"));
        m_prompter = ScriptedPrompter{};
        m_services.prompter = &m_prompter;
        m_oldDir = QDir::currentPath();
    }

    void cleanup()
    {
        QDir::setCurrent(m_oldDir);
        m_dir.reset();
    }

    // The shapefile's names follow its table: a table typed or picked refills them (the
    // MapInfo and text names stay as they were until "Jména souborů").
    void shapefileNamesFollowTheTable()
    {
        Project p = Project::open(m_dir->path("follow.ovd"));
        ToolDialog dbf(*findToolForm("dbf-export"), p, *m_profile, m_services);
        dbf.show();
        dbf.setValue("VystShp", "rocni.shp");
        dbf.setValue("VystShx", "rocni.shx");
        dbf.setValue("VystMif", "rocni.mif");
        dbf.setValue("VstDbf", "rocni.dbf");
        QLineEdit* table = nullptr;
        for (QLineEdit* e : dbf.findChildren<QLineEdit*>())
            if (e->text() == "rocni.dbf")
                table = e;
        QVERIFY(table);
        table->setText("data/denni.dbf");
        emit table->editingFinished();
        QCOMPARE(dbf.value("VstDbf"), QString("data/denni.dbf"));
        QCOMPARE(dbf.value("VystShp"), QString("data/denni.shp"));
        QCOMPARE(dbf.value("VystShx"), QString("data/denni.shx"));
        QCOMPARE(dbf.value("VystMif"), QString("rocni.mif"));
    }

    void startArguments()
    {
        StartRequest r = parseStartArguments({"-f", "\"/tmp/a b/study.ovd\""});
        QVERIFY(r.unattended);
        QCOMPARE(r.project, QString("/tmp/a b/study.ovd"));
        r = parseStartArguments({"/F", "study.ovd"});
        QVERIFY(r.unattended);
        QCOMPARE(r.project, QString("study.ovd"));
        r = parseStartArguments({"\"/data/f x.ovd\""});
        QVERIFY(!r.unattended);
        QCOMPARE(r.project, QString("/data/f x.ovd"));
        // A path that merely starts with the switch letters is a path.
        r = parseStartArguments({"/fields/study.ovd"});
        QVERIFY(!r.unattended);
        QCOMPARE(r.project, QString("/fields/study.ovd"));
        QVERIFY(parseStartArguments({}).project.isEmpty());
    }

    void reporterCarriesQuestionsAndThrottles()
    {
        struct CountingView : ProgressView {
            int statusCalls = 0, progressCalls = 0;
            long last = -1;
            QString line;
            void showStatus(int, const QString& t) override { ++statusCalls, line = t; }
            void showProgress(long v, long) override { ++progressCalls, last = v; }
        } view;
        QtReporter reporter(m_prompter, &view);
        m_prompter.answerNext({Answer::No});
        Answer answer = Answer::Yes;
        ToolStatus status = reporter.run([&]() -> ToolStatus {
            answer = reporter.ask({"Ovardix", "Pokračovat ?", Buttons::YesNo, Answer::Yes});
            for (long i = 1; i <= 300000; ++i) {
                reporter.progress(i, 300000);
                reporter.status(0, "krok");
            }
            throw std::runtime_error("disk");
        });
        QCOMPARE(answer, Answer::No);  // answered on the GUI thread, the worker waited
        QCOMPARE(status, ToolStatus::Failed);
        QVERIFY(m_prompter.shown("disk"));
        QCOMPARE(view.last, 300000L);  // the last value is shown after the run
        QVERIFY2(view.progressCalls < 1000, qPrintable(QString::number(view.progressCalls)));
        QCOMPARE(view.line, QString("krok"));
        QVERIFY(!reporter.running());

        // Unattended: an overwrite question is answered Yes, anything else No, nothing shown.
        reporter.setUnattended(true);
        QCOMPARE(reporter.ask({"Upozornění", overwriteQuestionText("/a/b.dbf"), Buttons::YesNo, Answer::No,
                               QuestionKind::Overwrite}),
                 Answer::Yes);
        QCOMPARE(reporter.ask({"Ovardix", "Chcete jej přesto použít ?", Buttons::YesNo, Answer::Yes}), Answer::No);
        QCOMPARE(m_prompter.questions.size(), std::size_t(1));
    }

    void formsReferToTheirOwnFields()
    {
        // Every form runs a registered tool, shows only keys its tool declares, and its
        // conditions, rules and buttons name fields and tools that exist.
        QCOMPARE(toolForms().size(), std::size_t(18));
        for (const ToolForm& s : toolForms()) {
            std::vector<std::string> problems = formProblems(s);
            QVERIFY2(problems.empty(), (std::string(s.id) + ": " + (problems.empty() ? "" : problems[0])).c_str());
            QVERIFY(!s.fields.empty());
        }
        QCOMPARE(qtFilter("Textový soubor *.txt|*.txt|Všechny soubory *.*|*.*"),
                 std::string("Textový soubor *.txt (*.txt);;Všechny soubory *.* (*.*)"));
        QCOMPARE(applyNameRule({"a", "b", 4, "_izolinie.shp"}, "/d/rocni.dbf"), std::string("/d/rocni_izolinie.shp"));
        QCOMPARE(applyNameRule({"a", "b", 0, "theta.bin", true}, "C:\\st\\zdroje.bin"),
                 std::string("C:\\st\\theta.bin"));
        QCOMPARE(applyNameRule({"a", "b", 3, "bin"}, ""), std::string());
    }

    void formMistakesAreCaught()
    {
        // What the compiler cannot see, the form check names: a member without a key, a key
        // of another tool, a button to a tool that does not exist, a condition on a field the
        // form does not show.
        using Self = ConversionSettings;
        auto problemsOf = [](FormBuilder f) { return formProblems(ToolForm(f)); };
        auto one = [&](FieldBuilder field) {
            FormBuilder f("convert", "x", {"r"});
            f.fields({field});
            return problemsOf(f);
        };
        QVERIFY(one(openFile(&Self::pointsText, "a", "t", "f")).empty());
        std::vector<std::string> p = one(text(&FormProbe::undeclared, "nic"));
        QCOMPARE(p.size(), std::size_t(1));
        QVERIFY2(p[0].find("a member of FormProbe that no declaration") != std::string::npos, p[0].c_str());
        QCOMPARE(one(saveFile(&GridSettings::output, "b", "t", "f")).size(), std::size_t(1));
        p = one(openFile(&Self::pointsText, "a", "t", "f").opens("no-such-tool", ""));
        QCOMPARE(p.size(), std::size_t(1));
        QVERIFY2(p[0].find("no-such-tool") != std::string::npos, p[0].c_str());
        QCOMPARE(one(openFile(&Self::pointsText, "a", "t", "f").opens("grid", "").passing(&FormProbe::declared)).size(),
                 std::size_t(1));
        QCOMPARE(one(openFile(&Self::pointsText, "a", "t", "f").enabledWhen(&Self::dust, true)).size(), std::size_t(1));
        QCOMPARE(one(openFile(&Self::pointsText, "a", "t", "f").enabledWhen(&FormProbe::flag, true)).size(),
                 std::size_t(2));
        FormBuilder rule("convert", "x", {"r"});
        rule.fields({openFile(&Self::pointsText, "a", "t", "f")})
            .name(&Self::pointsBinary, &Self::pointsText, 3, "bin");
        QCOMPARE(problemsOf(rule).size(), std::size_t(1));
        // A column named from a table the form does not show.
        FormBuilder columns("assess", "x", {"r"});
        columns.fields({dbfColumnName(&AssessSettings::column, "s").columnsOf(&AssessSettings::input)});
        QCOMPARE(problemsOf(columns).size(), std::size_t(1));
        FormBuilder unknown("no-such-tool", "x", {"r"});
        QCOMPARE(problemsOf(unknown).size(), std::size_t(1));
        // A field reads its key, section and default from the declaration it names.
        const FormField& grid = findToolForm("grid")->fields.front();
        QCOMPARE(std::string(grid.param->section), std::string("NovyRefer"));
        QCOMPARE(std::string(grid.key()), std::string("PocBodX"));
        const ToolForm& concentrations = *findToolForm("concentrations");
        QVERIFY(concentrations.field("KoncDobyPrek3") && concentrations.twoColumns());
        QCOMPARE(concentrations.field("KoncDobyPrek3")->param->role, ParamRole::SubstanceLimit);
        // A file field has its dialog's title and filter; the buttons, their labels.
        const ToolForm& heights = *findToolForm("heights");
        QCOMPARE(std::string(heights.fields.front().fileTitle),
                 std::string("Otevření vstupního souboru se souřadnicemi ..."));
        QCOMPARE(std::string(heights.fields.front().filter),
                 std::string("Textový soubor *.txt|*.txt|Všechny soubory *.*|*.*"));
        QCOMPARE(std::string(heights.runLabel) + "|" + std::string(heights.closeLabel) + "|" +
                     std::string(heights.progressTitle),
                 std::string("Doplň|Ukonči|Průběh doplnění "));
        const ToolForm& compare = *findToolForm("compare");
        QCOMPARE(std::string(compare.fields.back().key()), std::string(keyOf(&CompareSettings::output)));
        QCOMPARE(compare.nameRules.size(), std::size_t(1));
        QCOMPARE(applyNameRule(compare.nameRules[0], "/d/varianta.dbf"), std::string("/d/varianta_rozdil.dbf"));
        QCOMPARE(std::string(compare.doneStatus), std::string("Porovnání variant dokončeno."));
    }

    void dialogsFitALaptopScreen()
    {
        // 1366 x 768 less a panel: every dialog, with its buttons, at the size it opens.
        Project p = Project::open(m_dir->path("p.ovd"));
        QStringList sizes;
        bool fit = true;
        for (const ToolForm& form : toolForms()) {
            ToolDialog d(form, p, *m_profile, m_services);
            QSize hint = d.sizeHint().expandedTo(d.minimumSizeHint());
            fit = fit && hint.width() <= 1366 && hint.height() <= 740;
            sizes << QString("%1 %2x%3").arg(qs(form.id)).arg(hint.width()).arg(hint.height());
            QVERIFY(!(d.windowFlags() & Qt::WindowMinimizeButtonHint));
        }
        QVERIFY2(fit, qPrintable(sizes.join(", ")));
        QSize small;
        auto measure = [&] {
            QTimer::singleShot(0, [&] {
                if (QWidget* d = QApplication::activeModalWidget()) {
                    small = d->sizeHint().expandedTo(d->minimumSizeHint());
                    d->close();
                }
            });
        };
        measure();
        askNewSubstance(nullptr);
        QVERIFY(small.isValid() && small.width() <= 1366 && small.height() <= 740);
        small = {};
        measure();
        chooseColumns({"01 .. ID        ", "02 .. X_COORD   "}, nullptr);
        QVERIFY(small.isValid() && small.width() <= 1366 && small.height() <= 740);
    }

    void fieldsLoadSaveAndEnable()
    {
        Project p = Project::open(m_dir->path("p.ovd"));
        RecordingReporter r;
        p.writeString("Global", "VstReferBodTxt", "body.txt", r);
        ToolDialog grid(*findToolForm("grid"), p, *m_profile, m_services);
        grid.setValue("KrokX", "12,5");
        grid.setValue("PripojData", "1");
        grid.saveFields();
        QCOMPARE(p.readString("NovyRefer", "KrokX"), std::string("12.5"));
        QCOMPARE(p.readString("NovyRefer", "PripojData"), std::string("1"));
        QCOMPARE(p.readString("NovyRefer", "PocetX"), std::string("0"));

        ToolDialog conv(*findToolForm("convert"), p, *m_profile, m_services);
        QCOMPARE(conv.value("VstReferBodTxt"), QString("body.txt"));
        QVERIFY(!conv.fieldWidget("VstZdrojPrachTxt")->isEnabled());
        conv.setValue("TypVypoctu", "1");
        QVERIFY(conv.fieldWidget("VstZdrojPrachTxt")->isEnabled());
        // The name button: outputs from the inputs, an empty input leaves its output alone.
        conv.setValue("VstZdrojBodBin", "keep.bin");
        for (QPushButton* b : conv.findChildren<QPushButton*>())
            if (b->toolTip().startsWith(QString::fromUtf8("Vytvoření jmen")))
                b->click();
        QCOMPARE(conv.value("VstReferBodBin"), QString("body.bin"));
        QCOMPARE(conv.value("VstZdrojBodBin"), QString("keep.bin"));
    }

    void gridOpenedFromConversionReturnsItsFile()
    {
        QDir::setCurrent(QString::fromStdString(m_dir->root()));
        Project p = Project::open(m_dir->path("p.ovd"));
        RecordingReporter r;
        for (auto [key, value] : {std::pair{"PocetX", "2"},
                                  {"PocetY", "2"},
                                  {"KrokX", "10"},
                                  {"KrokY", "10"},
                                  {"PocatekRefer", "1"},
                                  {"VystTxt", "nove.txt"}})
            p.writeString("NovyRefer", key, value, r);
        ToolDialog conv(*findToolForm("convert"), p, *m_profile, m_services);
        conv.setValue("VstReferBodTxt", "stary.txt");
        bool ran = false;
        QTimer::singleShot(100, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* grid = dynamic_cast<ToolDialog*>(w); grid && grid->isVisible() && grid != &conv) {
                    grid->runButton()->click();
                    ran = true;
                    grid->close();
                }
        });
        for (QToolButton* b : conv.findChildren<QToolButton*>())
            if (b->toolTip() == QString::fromUtf8("Dialog pro vytvoření souboru"))
                b->click();
        QVERIFY(ran);
        QVERIFY(fileExists(m_dir->path("nove.txt")));
        QCOMPARE(conv.value("VstReferBodTxt"), QString("nove.txt"));
    }

    void mainRoadThroughTheDialogs()
    {
        Project p = study(6);
        m_prompter.answerNext({Answer::Yes});  // the grid replaces the bundled body.txt
        QCOMPARE(runDialog("grid", p), ToolStatus::Done);
        QCOMPARE(m_prompter.questions.size(), std::size_t(1));
        QCOMPARE(m_prompter.questions[0].text, overwriteQuestionText("body.txt"));
        QCOMPARE(runDialog("terrain", p), ToolStatus::Done);
        QCOMPARE(runDialog("convert", p), ToolStatus::Done);
        QCOMPARE(runDialog("coefficients", p), ToolStatus::Done);
        QCOMPARE(runDialog("concentrations", p), ToolStatus::Done);
        for (const char* f : {"teren.bin", "body.bin", "zdroje.bin", "theta.bin", "rocni.dbf", "rocni.vst"})
            QVERIFY2(fileExists(m_dir->path(f)), f);
        QVERIFY(!fileExists(m_dir->path("rocni.tmp")));

        // Converting again asks before overwriting; No leaves the outputs as they were.
        std::string before = readAll(m_dir->path("body.bin"));
        m_prompter.questions.clear();
        m_prompter.answerNext({Answer::No});
        QVERIFY(runDialog("convert", p) != ToolStatus::Done);
        QVERIFY(!m_prompter.questions.empty());
        QCOMPARE(readAll(m_dir->path("body.bin")), before);

        // A table tool shows its rows in the dialog's list views.
        ToolDialog check(*findToolForm("check-points"), p, *m_profile, m_services);
        check.runTool();
        QVERIFY(check.outputText().contains(QString::fromUtf8("Výsledek kontroly :")));
        for (const auto& m : m_prompter.messages)
            QVERIFY2(m.severity != Severity::Error, m_prompter.all().c_str());
        QCOMPARE(check.results()->tableCount(), 2);
        QCOMPARE(check.results()->listView(0)->model()->rowCount(), 36);

        viewMatrix(p);
        if (QTest::currentTestFailed())
            return;
        exportChosenColumns(p);
        if (QTest::currentTestFailed())
            return;
        isolinesAtListedValues(p);
    }

    void unattendedRun()
    {
        Project p = study(5);
        m_prompter.answerNext({Answer::Yes});
        QCOMPARE(runDialog("grid", p), ToolStatus::Done);
        QCOMPARE(runDialog("terrain", p), ToolStatus::Done);
        m_prompter = ScriptedPrompter{};
        RecordingReporter rr;
        p.writeString("VypocetRocni", "SpustMinim", "1", rr);
        {
            MainWindow w(*m_profile, m_services);
            w.openProject(QString::fromStdString(p.path()));
            w.show();
            // "spustit minimalizovaně": minimized while the concentrations run, restored after.
            struct StateWatch : QObject {
                QWidget* window;
                bool wasMinimized = false;
                bool eventFilter(QObject*, QEvent* e) override
                {
                    if (e->type() == QEvent::WindowStateChange && window->isMinimized())
                        wasMinimized = true;
                    return false;
                }
            } watch;
            watch.window = &w;
            w.installEventFilter(&watch);
            QCOMPARE(w.runUnattended(), ToolStatus::Done);
            QVERIFY(watch.wasMinimized);
            QVERIFY(!w.isMinimized());
            QCOMPARE(w.windowTitle(), QString::fromUtf8("Probíhá výpočet na pozadí ...."));
            w.close();  // no questions in an unattended run
        }
        QVERIFY(m_prompter.questions.empty());
        QCOMPARE(m_prompter.messages.back().text, std::string("Výpočet na pozadí dokončen."));
        QVERIFY(fileExists(m_dir->path("rocni.dbf")));
        QVERIFY(m_profile->readString("MainFrame", "x").empty());  // the placement is not saved

        // A step that fails stops the run: no completion message afterwards.
        RecordingReporter r;
        p.writeString("Global", "VstZdrojBodTxt", "chybi.txt", r);
        m_prompter = ScriptedPrompter{};
        MainWindow w(*m_profile, m_services);
        w.openProject(QString::fromStdString(p.path()));
        QVERIFY(w.runUnattended() != ToolStatus::Done);
        QVERIFY(!m_prompter.shown("Výpočet na pozadí dokončen."));
        QVERIFY2(m_prompter.shown("převod vstupních souborů"), m_prompter.all().c_str());
    }

    void checkListsMarkEveryLine()
    {
        Project p =
            projectWithInput("VstReferBodTxt", "body.txt", "; body\n1, 10.0, 20.0, 300.0, 1.5;\n2, 10.0, 20.0;\n");
        ToolDialog check(*findToolForm("check-points"), p, *m_profile, m_services);
        ResultView* lists = check.results();
        // Before the run: the two lists of the dialog, empty.
        QCOMPARE(lists->tableCount(), 2);
        QCOMPARE(lists->caption(0), QString::fromUtf8("Nalezené hodnoty referenčních bodů :"));
        QCOMPARE(lists->listView(0)->model()->rowCount(), 0);
        QCOMPARE(check.runTool(), ToolStatus::Unusable);
        QTreeView* lines = lists->listView(0);
        QAbstractItemModel* m = lines->model();
        QVERIFY(!lines->isHeaderHidden());
        QStringList titles;
        for (int c = 0; c < m->columnCount(); ++c)
            titles << m->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles,
                 QStringList({QString::fromUtf8("Řádek"), QString::fromUtf8("Přečtený údaj"), "Klasifikace",
                              QString::fromUtf8("Správnost")}));
        QCOMPARE(lines->columnWidth(1), int(270 * lines->logicalDpiX() / 96.0));
        QCOMPARE(m->rowCount(), 3);
        auto mark = [&](int row) { return RowMark(m->index(row, 0).data(kRowMarkRole).toInt()); };
        QCOMPARE(mark(0), RowMark::Comment);
        QCOMPARE(mark(1), RowMark::Correct);
        QCOMPARE(mark(2), RowMark::Error);
        QVERIFY(!m->index(2, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(m->index(2, 1).data().toString(), QString("2, 10.0, 20.0;"));
        // The result list: plain lines, the verdict last.
        QTreeView* results = lists->listView(1);
        QVERIFY(results->isHeaderHidden());
        QAbstractItemModel* rm = results->model();
        QCOMPARE(rm->index(rm->rowCount() - 1, 0).data().toString(),
                 QString::fromUtf8("Soubor není vhodný pro výpočet."));

        // A file that cannot be opened: the lists are emptied, not left from the last run.
        check.setValue("VstReferBodTxt", "chybi.txt");
        QCOMPARE(check.runTool(), ToolStatus::Failed);
        QCOMPARE(lists->listView(0)->model()->rowCount(), 0);
    }

    // The terrain check's verdict, marked as a usable or an unusable grid.
    void terrainCheckMarksItsVerdict()
    {
        Project p =
            projectWithInput("VstVyskoTxt", "teren.txt",
                             "ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 10\nNODATA_value -9999\n1 2\n3 4\n");
        QFile grid(QString::fromStdString(m_dir->path("teren.txt")));
        ToolDialog terrain(*findToolForm("check-terrain"), p, *m_profile, m_services);
        QCOMPARE(terrain.runTool(), ToolStatus::Done);
        QAbstractItemModel* verdict = terrain.results()->listView(0)->model();
        QCOMPARE(verdict->rowCount(), 1);
        QCOMPARE(verdict->index(0, 0).data().toString(),
                 QString::fromUtf8("Načteno 2 řádků s 2 sloupci, matice vyhovuje."));
        QCOMPARE(RowMark(verdict->index(0, 0).data(kRowMarkRole).toInt()), RowMark::Correct);
        QVERIFY(grid.open(QIODevice::Append));
        grid.write("5\n");
        grid.close();
        QCOMPARE(terrain.runTool(), ToolStatus::Unusable);
        verdict = terrain.results()->listView(0)->model();
        QCOMPARE(RowMark(verdict->index(0, 0).data(kRowMarkRole).toInt()), RowMark::Error);
    }

    void studySystem()
    {
        MainWindow w(*m_profile, m_services);
        QVERIFY(w.newProject());
        QCOMPARE(w.project().readString("Global", "SouradnicovySystem"), std::string("EPSG:5514"));
        // An unknown system is refused and the dialog stays open; a known one is stored.
        RecordingReporter r;
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(d && d->objectName() == "studySystem");
            auto* system = d->findChild<QComboBox*>("system");
            auto* name = d->findChild<QLabel*>("name");
            auto* store = d->findChild<QPushButton*>("store");
            QCOMPARE(system->currentText(), QString("EPSG:5514"));
            QCOMPARE(system->count(), 3);
            QVERIFY(name->text().contains("S-JTSK"));
            system->setEditText("EPSG:999999");
            store->click();
            QCOMPARE(r.messages.size(), std::size_t(1));
            QVERIFY(d->isVisible());
            system->setCurrentIndex(1);
            QCOMPARE(name->text(), QString("WGS 84 / UTM zone 33N"));
            store->click();
            checked = true;
        });
        QVERIFY(editStudySystem(w.project(), m_services.gis, r, &w));
        QVERIFY(checked);
        QCOMPARE(w.project().readString("Global", "SouradnicovySystem"), std::string("EPSG:32633"));
    }

    void editorLaunch()
    {
        // The real editors are built beside this test: look only in the test's folder.
        qputenv("OVARDIX_EDITOR_DIR", QByteArray::fromStdString(m_dir->root()));
        MainWindow w(*m_profile, m_services);
        QVERIFY(w.newProject());
        w.launchSourcesEditor();
        QVERIFY(m_prompter.shown("Nelze spustit modul pro pořízení zdrojů !"));
        w.launchWindRoseEditor();
        QVERIFY(m_prompter.shown("Nelze spustit modul pro pořízení větrné růžice !"));

        // A stand-in editor: records its arguments one per line and, as the real one does,
        // writes the file it saved into the project.
        std::string script = m_dir->path("xovrzdr");
        QFile f(QString::fromStdString(script));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + m_dir->path("args.txt") +
                                          "'\nprintf '[Global]\\nVstZdrojBodTxt=z nove.txt\\n' > \"$7\"\n"));
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Project p = Project::open(m_dir->path("p q.ovd"));
        RecordingReporter r;
        p.writeString("Global", "VstZdrojBodTxt", "z.txt", r);
        p.writeString("Global", "VstZdrojPopTxt", "", r);
        ToolDialog conv(*findToolForm("convert"), p, *m_profile, m_services, &w);
        QToolButton* editor = nullptr;
        for (QToolButton* b : conv.findChildren<QToolButton*>())
            if (b->toolTip() == QString::fromUtf8("Dialog pro vytvoření souborů"))
                editor = b;
        QVERIFY(editor);
        editor->click();  // the description file is missing
        QVERIFY(m_prompter.shown("Nebyl zadán vstupní TXT soubor s popisem zdrojů !"));
        QVERIFY(!fileExists(m_dir->path("args.txt")));
        conv.setValue("VstZdrojPopTxt", "p.txt");
        editor->click();
        qunsetenv("OVARDIX_EDITOR_DIR");
        QCOMPARE(readAll(m_dir->path("args.txt")), "z.txt\np.txt\n\n\n/s\n/ini\n" + m_dir->path("p q.ovd") + "\n");
        QCOMPARE(conv.value("VstZdrojBodTxt"), QString("z nove.txt"));  // re-read after the editor
    }

    void closingWaitsForTheEditor()
    {
        // A stand-in editor that answers its first close request "Storno" and its second "Ne".
        qputenv("OVARDIX_EDITOR_DIR", QByteArray::fromStdString(m_dir->root()));
        const std::string log = m_dir->path("editor.log");
        QFile f(QString::fromStdString(m_dir->path("xovrruz")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString("#!/bin/sh\nn=0\ntrap 'n=$((n+1)); echo close >> \"" + log +
                                          "\"; [ $n -ge 2 ] && exit 0' TERM\necho started > \"" + log +
                                          "\"\nwhile :; do sleep 0.05; done\n"));
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        auto requests = [&] { return QString::fromStdString(readAll(log)).count("close"); };

        MainWindow w(*m_profile, m_services);
        QVERIFY(w.newProject());
        w.show();
        m_prompter.answerNext({Answer::No});  // "Soubor s parametry výpočtu není uložen..." at the end
        bool checked = false;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(readAll(log).rfind("started", 0) == 0);
            QVERIFY(editorRunning());
            QVERIFY(!w.close());  // the close box waits for the editor
            QVERIFY(w.isVisible());
            QCOMPARE(requests(), 0);
            w.requestTermination();  // the session ends: the editor is asked first
            QTRY_COMPARE(requests(), 1);
            QTest::qWait(200);
            QVERIFY(editorRunning());  // it kept its window, so the main program waits
            QVERIFY(w.isVisible());
            w.requestTermination();
            QTRY_COMPARE(requests(), 2);
            checked = true;
        });
        w.launchWindRoseEditor();
        qunsetenv("OVARDIX_EDITOR_DIR");
        QVERIFY(checked);
        QVERIFY(!editorRunning());
        QTRY_VERIFY(!w.isVisible());  // then the main window closed, as by its close box
        QCOMPARE(m_prompter.questions.back().caption, std::string("Ukončení aplikace"));
    }

    void longRunStaysResponsiveAndCancels()
    {
        // 101 x 101 points at 0.5 degree (720 directions): long enough that a fast machine's run
        // is still going when the ticker has seen a quarter of it
        Project p = study(101);
        RecordingReporter r;
        p.writeString("VypocetRocni", "KrokVypoctu", "0", r);
        QCOMPARE(runDialog("grid", p, true), ToolStatus::Done);
        QCOMPARE(runDialog("terrain", p, true), ToolStatus::Done);
        QCOMPARE(runDialog("convert", p, true), ToolStatus::Done);
        QCOMPARE(runDialog("coefficients", p, true), ToolStatus::Done);

        ToolDialog d(*findToolForm("concentrations"), p, *m_profile, m_services);
        d.show();
        int ticks = 0;
        QTimer ticker;
        QProgressBar* bar = d.findChild<QProgressBar*>();
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            ++ticks;
            QVERIFY(!d.runButton()->isEnabled());
            QVERIFY(d.cancelButton()->isEnabled());
            // Stop once the first checkpoint (after 45 degrees) is surely behind us.
            if (bar->maximum() > 1 && bar->value() * 4 >= bar->maximum())
                d.cancelButton()->click();
        });
        ticker.start(20);
        QElapsedTimer clock;
        clock.start();
        ToolStatus status = d.runTool();
        ticker.stop();
        QVERIFY(status != ToolStatus::Done);
        QVERIFY2(ticks >= 3, qPrintable(QString("event loop turned %1 times").arg(ticks)));
        // No angle of the stopped run stays in the title.
        QCOMPARE(d.windowTitle(), qs(findToolForm("concentrations")->title));
        QVERIFY(d.runButton()->isEnabled());
        QVERIFY(!fileExists(m_dir->path("rocni.dbf")));  // nothing half-written
        QVERIFY(fileExists(m_dir->path("rocni.tmp")));   // the checkpoint stays

        // The next run offers to resume; declining it answers the question and stops.
        m_prompter = ScriptedPrompter{};
        m_prompter.answerNext({Answer::No});
        ToolDialog again(*findToolForm("concentrations"), p, *m_profile, m_services);
        again.show();
        // Closing the window of a running tool cancels the tool, then closes.
        QTimer::singleShot(0, [&] { again.close(); });
        again.runTool();
        QVERIFY(!again.isVisible());
        QVERIFY(!fileExists(m_dir->path("rocni.dbf")));
        QVERIFY(!m_prompter.questions.empty());
        QVERIFY(m_prompter.questions[0].text.rfind("Poslední běh tohoto výpočtu", 0) == 0);
    }

    void closingAsksAndSavesPlacement()
    {
        {
            MainWindow w(*m_profile, m_services);
            QVERIFY(w.newProject());
            std::string temp = w.project().path();
            w.show();
            m_prompter.answerNext({Answer::Cancel});
            QVERIFY(!w.close());
            QCOMPARE(m_prompter.questions.back().caption, std::string("Ukončení aplikace"));
            QCOMPARE(m_prompter.questions.back().buttons, Buttons::YesNoCancel);
            m_prompter.answerNext({Answer::No});
            QVERIFY(w.close());
            QVERIFY(!fileExists(temp));
        }
        QCOMPARE(m_profile->readString("MainFrame", "cx").empty(), false);

        // Save as onto an existing file asks first; No leaves both files as they were.
        MainWindow w(*m_profile, m_services);
        QVERIFY(w.newProject());
        RecordingReporter r;
        w.project().writeString("Global", "VstReferBodTxt", "a.txt", r);
        std::string target = m_dir->path("other.ovd");
        QFile(QString::fromStdString(target)).open(QIODevice::WriteOnly);
        m_prompter.answerNext({Answer::No});
        QVERIFY(!w.saveProjectAs(QString::fromStdString(target)));
        QCOMPARE(readAll(target), std::string());
        QVERIFY(w.project().untitled());
        m_prompter.answerNext({Answer::Yes});
        QVERIFY(w.saveProjectAs(QString::fromStdString(target)));
        QCOMPARE(w.windowTitle(), QString::fromStdString(target + " - Ovardix"));
        m_prompter.answerNext({Answer::Yes});
        QVERIFY(w.close());
        QCOMPARE(m_prompter.questions.back().text, std::string("Přejete si ukončit aplikaci ?"));
    }

    // Every menu entry with its text, shortcut and object name, in order, as the user sees them.
    void menusInTheirPlaces()
    {
        MainWindow w(*m_profile, m_services);
        const QStringList lines = menuLines(w.menuBar());
        const QStringList expected = QString::fromUtf8(R"(&Soubor
  &Nový [Ctrl+N] mnuNovy
  &Otevřít... [Ctrl+O] mnuOtevrit
  Uložit j&ako... mnuUlozitJako
  -
  &Konec mnuKonec
&Pořízení
  &Zdroje znečištění... mnuZdroje
  &Referenční body... mnuReferencniBody
  &Výškopis... mnuVyskopis
  Větrná &růžice... mnuVetrnaRuzice
&Výpočet
  Převod textových &souborů ... mnuPrevod
  Výpočet koeficientů... mnuKoeficienty
  Výpočet koncentrací ... mnuKoncentrace
  Výpočet denní koncentrace ... mnuDenni
  Hodnocení imisní zátěže… mnuHodnoceni
  Porovnání variant… mnuVarianty
  Změna emisí skupin… mnuZmenaEmisi
  &Mapa výsledků... mnuMapa
  Zpráva o studii… mnuZprava
Ná&stroje
  &Dopočet Z-souřadnic mnuDopocetZ
  &Přepočet souřadnic mnuPrepocet
  &Tvorba izolinií mnuIzolinie
  &Souřadnicový systém studie… mnuSouradnicovySystem
  &Export souborů
    &Převod matic koeficientů na TXT soubory mnuExportMatic
    &Export výstupních DBF souborů mnuExportDbf
&Zobrazení
  &Nástrojová lišta mnuNastrojovaLista
  &Stavová lišta mnuStavovaLista
&Nápověda
  &Nápověda aplikace ... mnuNapoveda
  &O aplikaci Ovardix... mnuOAplikaci)")
                                         .split('\n');
        QCOMPARE(lines, expected);
        QVERIFY(findAction(&w, "mnuStavovaLista")->isChecked());
        QCOMPARE(w.findChild<QToolBar*>()->actions().size(), 5);
    }

    void helpShowsTheUserGuide()
    {
        QVERIFY(!userGuideFolder().isEmpty());
        MainWindow w(*m_profile, m_services);
        w.showHelp();
        QWidget* help = w.findChild<QWidget*>("help");
        QVERIFY(help && help->isVisible());
        auto* browser = help->findChild<QTextBrowser*>();
        QVERIFY(browser->toPlainText().contains(QString::fromUtf8("Výpočet bez obsluhy")));
        // The editors' chapters are linked and shown as formatted text.
        browser->setSource(browser->source().resolved(QUrl("guide/xovrzdr.md")));
        QVERIFY(browser->toPlainText().startsWith(QString::fromUtf8("Editor zdrojů znečištění xovrzdr")));
        QVERIFY(m_prompter.messages.empty());

        // The tool bar and the status bar are shown or hidden from "&Zobrazení".
        w.show();
        QStatusBar* bar = w.findChild<QStatusBar*>();
        QVERIFY(bar->isVisible());
        findAction(&w, "mnuStavovaLista")->trigger();
        QVERIFY(!bar->isVisible());
        QToolBar* tools = w.findChild<QToolBar*>();
        findAction(&w, "mnuNastrojovaLista")->trigger();
        QVERIFY(!tools->isVisible());
        // "Výpočet denní koncentrace ..." opens the daily dialog, modal over the window.
        QString opened;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = modal->windowTitle();
                modal->close();
            }
        });
        findAction(&w, "mnuDenni")->trigger();
        QCOMPARE(opened, QString::fromUtf8("Výpočet denních koncentrací znečišťujících látek"));
        QCOMPARE(findAction(&w, "mnuOtevrit")->shortcut(), QKeySequence("Ctrl+O"));
    }

    void substanceList()
    {
        Project p = Project::open(m_dir->path("p.ovd"));
        ToolDialog d(*findToolForm("concentrations"), p, *m_profile, m_services);
        auto* combo = qobject_cast<QComboBox*>(d.fieldWidget("PoziceLatky"));
        QVERIFY(combo);
        QCOMPARE(combo->count(), 2);
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        QCOMPARE(d.value("TridaLatky"), QString("1"));
        QCOMPARE(d.value("KoncDobyPrek1"), QString("80"));
        QToolButton* del = nullptr;
        for (QToolButton* b : d.findChildren<QToolButton*>())
            if (b->text() == "-")
                del = b;
        m_prompter.answerNext({Answer::No});
        del->click();
        QCOMPARE(combo->count(), 2);
        m_prompter.answerNext({Answer::Yes});
        del->click();
        QCOMPARE(combo->count(), 1);
        QCOMPARE(m_profile->readString("Latky", "SeznamLatek"), std::string("oxid_siřičitý; 2; 60.0, 40.0, 20.0|"));
        // Dust disables the pollutant and its class; the limits stay, as dust runs count
        // exceedance hours too.
        d.setValue("TypVypoctu", "1");
        QVERIFY(!combo->isEnabled());
        QVERIFY(!d.fieldWidget("TridaLatky")->isEnabled());
        QVERIFY(d.fieldWidget("KoncDobyPrek1")->isEnabled());
        d.setValue("TypVypoctu", "0");

        // A limit typed by hand that no entry holds: the list says so and keeps its position.
        auto* limit = qobject_cast<QLineEdit*>(d.fieldWidget("KoncDobyPrek1"));
        limit->selectAll();
        QTest::keyClicks(limit, "61");
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(d.value("PoziceLatky"), QString("0"));
        limit->selectAll();
        QTest::keyClicks(limit, "60");  // back to the entry's limits: the entry shows again
        QCOMPARE(combo->currentIndex(), 0);

        // Stored class and limits of no entry open as such; those of another entry show it.
        RecordingReporter r;
        p.writeString("VypocetRocni", "KoncDobyPrek1", "5", r);
        ToolDialog own(*findToolForm("concentrations"), p, *m_profile, m_services);
        QCOMPARE(qobject_cast<QComboBox*>(own.fieldWidget("PoziceLatky"))->currentIndex(), -1);
        own.saveFields();
        QCOMPARE(p.readString("VypocetRocni", "PoziceLatky"), std::string("0"));
    }

    void assessmentDialogs()
    {
        // Hand-made tables of three points: the dialogs store their fields in their sections,
        // name their outputs from their inputs and show the tool's summary.
        QDir::setCurrent(QString::fromStdString(m_dir->root()));
        writeTable("rocni.dbf", pointTableFields("ID", {"CONC_AVG"}), {0.2, 35.0, 12.0});
        writeTable("varianta.dbf", pointTableFields("ID", {"CONC_AVG"}), {0.4, 70.0, 6.0});
        writeTable("podily.dbf", pointTableFields("ID_POINT", {"GR_000001", "GR_000002"}),
                   {60.0, 40.0, 100.0, 0.0, 25.0, 75.0});
        Project p = Project::open(m_dir->path("p.ovd"));

        QString shown = runWithNames(
            "assess", p, {{"VstDbf", "rocni.dbf"}, {"Sloupec", "CONC_AVG"}, {"Pozadi", "10"}, {"Limit", "40"}},
            "rocni_hodnoceni.dbf");
        QVERIFY2(shown.contains(QString::fromUtf8("Souhrn hodnocení")) &&
                     shown.contains(QString::fromUtf8("Posouzeno bodů: 3")),
                 qPrintable(shown));
        QCOMPARE(tableValue(m_dir->path("rocni_hodnoceni.dbf"), "CELKEM", 1), 45.0);
        QCOMPARE(tableValue(m_dir->path("rocni_hodnoceni.dbf"), "PREKROC", 1), 1.0);
        QCOMPARE(p.readString("Hodnoceni", "Pozadi"), std::string("10"));
        QCOMPARE(p.readString("Hodnoceni", "VystDbf"), std::string("rocni_hodnoceni.dbf"));
        // The column is stored by its name and offered again from the table's fields.
        QCOMPARE(p.readString("Hodnoceni", "Sloupec"), std::string("CONC_AVG"));
        {
            ToolDialog again(*findToolForm("assess"), p, *m_profile, m_services);
            auto* columns = qobject_cast<QComboBox*>(again.fieldWidget("Sloupec"));
            QVERIFY(columns && columns->isEditable() && columns->count() == 6);
            QCOMPARE(columns->currentText(), QString("CONC_AVG"));
            QCOMPARE(again.value("SloupecHodin"), QString());
        }

        shown = runWithNames("compare", p, {{"VstZaklad", "rocni.dbf"}, {"VstVarianta", "varianta.dbf"}},
                             "varianta_rozdil.dbf");
        QVERIFY2(shown.contains(QString::fromUtf8("Porovnáno bodů: 3")), qPrintable(shown));
        QCOMPARE(tableValue(m_dir->path("varianta_rozdil.dbf"), "ROZDIL", 2), -6.0);
        QCOMPARE(p.readString("Varianty", "VstVarianta"), std::string("varianta.dbf"));

        shown = runWithNames("scale-groups", p,
                             {{"VstDbf", "rocni.dbf"}, {"VstDbfPodily", "podily.dbf"}, {"Faktory", "1=0"}},
                             "rocni_zmena.dbf");
        QVERIFY2(shown.contains(QString::fromUtf8("Přepočteno bodů: 3")), qPrintable(shown));
        QCOMPARE(tableValue(m_dir->path("rocni_zmena.dbf"), "UPRAVENA", 0), 0.08);
        QCOMPARE(tableValue(m_dir->path("rocni_zmena.dbf"), "UPRAVENA", 2), 9.0);
        QCOMPARE(p.readString("ZmenaEmisi", "Faktory"), std::string("1=0"));

        // The menu opens each of them.
        MainWindow w(*m_profile, m_services);
        for (auto [action, title] : {std::pair{"mnuHodnoceni", "Hodnocení imisní zátěže"},
                                     {"mnuVarianty", "Porovnání variant"},
                                     {"mnuZmenaEmisi", "Změna emisí skupin"}}) {
            QString opened;
            QTimer::singleShot(0, [&] {
                if (QWidget* d = QApplication::activeModalWidget()) {
                    opened = d->windowTitle();
                    d->close();
                }
            });
            findAction(&w, action)->trigger();
            QCOMPARE(opened, QString::fromUtf8(title));
        }
    }

    void dailyConcentrations()
    {
        Project p = study(5);
        for (const char* tool : {"grid", "terrain", "convert", "coefficients"})
            QCOMPARE(runDialog(tool, p, true), ToolStatus::Done);

        ToolDialog d(*findToolForm("daily"), p, *m_profile, m_services);
        d.show();
        // The study's own weather situation is loaded; the user changes it before the run.
        QCOMPARE(d.value("TridaStability"), QString("3"));
        QCOMPARE(d.value("VystDbf"), QString("denni.dbf"));
        QVERIFY(!d.fieldWidget("VstPopisTxt")->isEnabled());
        d.setValue("TridaStability", "4");
        d.setValue("RychlostVetru", "2,5");
        d.setValue("SmerVetru", "45");  // towards the grid, which lies south-west of the sources
        // Choosing a pollutant sets its substance class.
        auto* combo = qobject_cast<QComboBox*>(d.fieldWidget("PoziceLatky"));
        QVERIFY(combo && combo->count() == 2);
        d.setValue("TridaLatky", "0");
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        QCOMPARE(d.value("TridaLatky"), QString("1"));

        QCOMPARE(d.runTool(), ToolStatus::Done);
        QVERIFY2(m_prompter.questions.empty(), m_prompter.all().c_str());
        QVERIFY(m_prompter.shown("Výpočet denních koncentrací proběhl v pořádku ."));
        dailyTableAndSettingsWritten();
        if (QTest::currentTestFailed())
            return;

        // A second run asks before overwriting; No leaves the table as it was.
        std::string before = readAll(m_dir->path("denni.dbf"));
        m_prompter.answerNext({Answer::No});
        QVERIFY(d.runTool() != ToolStatus::Done);
        QCOMPARE(m_prompter.questions.size(), std::size_t(1));
        QCOMPARE(m_prompter.questions[0].text, overwriteQuestionText("denni.dbf"));
        QCOMPARE(readAll(m_dir->path("denni.dbf")), before);

        // A wind speed of zero is refused before anything is written.
        m_prompter = ScriptedPrompter{};
        d.setValue("RychlostVetru", "0");
        m_prompter.answerNext({Answer::Yes});
        QVERIFY(d.runTool() != ToolStatus::Done);
        QCOMPARE(readAll(m_dir->path("denni.dbf")), before);

        // The viewer button needs the output path.
        m_prompter = ScriptedPrompter{};
        d.setValue("VystDbf", "");
        for (QToolButton* b : d.findChildren<QToolButton*>())
            if (b->toolTip() == QString::fromUtf8("Zobrazení a export DBF souboru"))
                b->click();
        QCOMPARE(m_prompter.messages.size(), std::size_t(1));
        QCOMPARE(m_prompter.messages[0].caption, std::string("Chyba"));
        QCOMPARE(m_prompter.messages[0].text, std::string("Nebyl zadán výstupní DBF soubor s výsledky výpočtu !"));
    }
};

QTEST_MAIN(UiTest)
#include "ui_test.moc"
