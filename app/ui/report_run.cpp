#include "report_run.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QProgressDialog>
#include <QUrl>

#include "common/paths.h"
#include "common/project.h"
#include "common/profile.h"
#include "qt_reporter.h"
#include "report/report_tool.h"
#include "tool_form.h"
#include "ui_common/qt_text.h"

namespace ovd::mainui {

namespace {

const char* const kReportFilter = "Zpráva PDF *.pdf|*.pdf|Dokument OpenDocument *.odt|*.odt|Stránka HTML *.html|*.html";

class ProgressWindow : public ProgressView {
public:
    explicit ProgressWindow(QProgressDialog& dialog)
        : m_dialog(dialog)
    { }
    void showStatus(int line, const QString& text) override
    {
        if (line == 0)
            m_dialog.setLabelText(text);
    }
    void showProgress(long value, long maximum) override
    {
        m_dialog.setMaximum(static_cast<int>(maximum));
        m_dialog.setValue(static_cast<int>(value));
    }

private:
    QProgressDialog& m_dialog;
};

}  // namespace

void writeStudyReportDialog(const Project& project, const Profile& profile, const Services& services,
                            QWidget* parent)
{
    const QString suggested = qs(folderOf(project.path()) + kDefaultReportName);
    const QString path = QFileDialog::getSaveFileName(parent, QString::fromUtf8("Zpráva o studii"), suggested,
                                                      qs(qtFilter(kReportFilter)), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return;
    QProgressDialog dialog(QString::fromUtf8("Píšu zprávu o studii ..."), QString::fromUtf8("Přerušit"), 0, 1, parent);
    dialog.setWindowTitle(QString::fromUtf8("Zpráva o studii"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    dialog.setMinimumDuration(0);
    ProgressWindow view(dialog);
    QtReporter reporter(prompterOf(services), &view);
    QObject::connect(&dialog, &QProgressDialog::canceled, [&reporter] { reporter.requestCancel(); });
    ReportRequest q;
    q.output = ss(path);
    const ToolStatus status = reporter.run([&] {
        RunContext ctx{reporter, false, project.path(), profile.path()};
        ctx.gis = services.gis;
        return writeStudyReport(q, project, profile, ctx);
    });
    dialog.close();
    if (status == ToolStatus::Done)
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace ovd::mainui
