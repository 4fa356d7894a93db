#include "matrix_text.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <vector>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "matrix_file.h"

namespace ovd {

namespace {

constexpr std::string_view kCannotOpenInput = "Vstupní soubor s binární maticí nelze otevřít !";
constexpr std::string_view kCannotOpenOutput = "Výstupní soubor s textovou maticí nelze otevřít !";
constexpr std::string_view kNotMatrix = "Nejedná se o binární soubor s maticí koeficientů theta, delta nebo zmax !";
constexpr std::string_view kCannotRead = "Vstupní soubor s binární maticí nelze přečíst!";
constexpr std::string_view kCannotWrite = "Výstupní soubor s textovou maticí nelze zapsat!";

void appendValue(std::string& out, float value)
{
    // to_chars with a precision prints exactly as printf("%.5f") does, without a locale.
    char digits[64];
    auto [end, ec] =
        std::to_chars(digits, digits + sizeof digits, static_cast<double>(value), std::chars_format::fixed, 5);
    if (ec != std::errc()) {  // beyond 64 characters: only for magnitudes above 1e58
        out += cformat("%11.5lf", static_cast<double>(value));
        return;
    }
    std::size_t length = static_cast<std::size_t>(end - digits);
    if (length < 11)
        out.append(11 - length, ' ');
    out.append(digits, length);
}

// The two header lines, then the rows, each value as "%11.5f" and a space.
ToolStatus writeText(MatrixFileReader& in, const std::string& path, AtomicOutput& out, Reporter& rep)
{
    std::string text = cformat("Pocet radku   : %ld\n", static_cast<long>(in.rows())) +
        cformat("Pocet sloupcu : %ld\n", static_cast<long>(in.columns()));
    if (!out.write(text)) {
        rep.error(kCannotWrite);
        return ToolStatus::Failed;
    }
    rep.status(0, "Zapsány hlavičky do výstupního souboru.");
    rep.progress(0, in.rows());

    // A matrix without values (R or C is 0) is only its two header lines.
    const std::int32_t rows = in.columns() > 0 ? in.rows() : 0;
    std::vector<float> row;
    for (std::int32_t r = 0; r < rows; ++r) {
        if (rep.cancelled())
            return ToolStatus::Failed;
        if (!in.readRow(r, row)) {
            rep.error(kCannotRead);
            return ToolStatus::Failed;
        }
        text.clear();
        for (std::size_t c = 0; c < row.size(); ++c) {
            // A coefficient that is no number would pass on as "nan" in the text.
            if (!std::isfinite(row[c])) {
                rep.error(cformat("Binární matice %s má v řádku %ld, sloupci %ld hodnotu, která není číslo!",
                                  path.c_str(), static_cast<long>(r) + 1, static_cast<long>(c) + 1));
                rep.status(0, "Převod neuskutečněn, chybný soubor.");
                return ToolStatus::Failed;  // the output is not committed
            }
            appendValue(text, row[c]);
            text += ' ';
        }
        text += '\n';
        if (!out.write(text)) {
            rep.error(kCannotWrite);
            return ToolStatus::Failed;
        }
        rep.progress(r + 1, in.rows());
    }
    if (!out.commit()) {
        rep.error(kCannotWrite);
        return ToolStatus::Failed;
    }
    return ToolStatus::Done;
}

}  // namespace

std::string formatMatrixValue(float value)
{
    std::string out;
    appendValue(out, value);
    return out;
}

const std::vector<Param<MatrixExportSettings>> MatrixExportSettings::kParams = declare<Self>({
    inSection(section::kMatrixExport,
              {key("VstBinMatice", &Self::binaryInput), key("VystTxtMatice", &Self::textOutput)}),
});

ToolStatus exportMatrixText(const MatrixExportSettings& s, const RunContext& ctx)
{
    Reporter& rep = ctx.reporter;
    if (!refuseSharedFiles(rep, {{"vstupní binární matice", s.binaryInput}},
                           {{"výstupní textová matice", s.textOutput}}))
        return ToolStatus::Failed;
    OutputLock lock;
    if (auto stop = lock.claim(ctx, {s.textOutput}))
        return *stop;
    rep.progress(0, 0);

    MatrixFileReader in;
    auto opened = in.open(s.binaryInput);
    if (opened == MatrixFileReader::OpenResult::CannotOpen) {
        rep.error(kCannotOpenInput);
        return ToolStatus::Failed;
    }
    AtomicOutput out;
    std::error_code ec;
    if (s.textOutput.empty() || std::filesystem::is_directory(fsPath(s.textOutput), ec) || !out.open(s.textOutput)) {
        rep.error(kCannotOpenOutput);
        return ToolStatus::Failed;
    }
    if (opened == MatrixFileReader::OpenResult::NotMatrix) {
        rep.error(kNotMatrix);
        rep.status(0, "Převod neuskutečněn, chybný soubor.");
        return ToolStatus::Failed;
    }

    if (writeText(in, s.binaryInput, out, rep) != ToolStatus::Done)
        return ToolStatus::Failed;
    rep.status(0, "Převod proběhl OK. ");
    return ToolStatus::Done;
}

}  // namespace ovd
