#include "file_lock.h"

#include "paths.h"
#include "rename_together.h"

namespace ovd {

bool OutputLock::acquire(Reporter& rep, const std::vector<std::string>& outputs)
{
    bool warned = false;
    for (const std::string& out : outputs) {
        if (out.empty())
            continue;
        FileLock lock;
        switch (lock.lock(out, false)) {
        case FileLock::Result::Locked:
            m_locks.push_back(std::move(lock));
            // Under the lock: a set a killed run left half renamed is finished before anything
            // of this run reads or asks about it.
            finishInterruptedRenames(followLinks(out));
            break;
        case FileLock::Result::Busy:
            m_locks.clear();
            rep.error("Soubor " + out +
                      " právě zapisuje jiný běh programu.\n"
                      "Počkejte, až doběhne, nebo zvolte jiný výstupní soubor.");
            return false;
        case FileLock::Result::Unsupported:
            if (!warned && isWritableFolder(folderOf(followLinks(out))))
                rep.warning("Souborový systém nepodporuje zamykání souborů (" + out +
                            ").\nSouběžné běhy se stejnými výstupy se nehlídají.");
            warned = true;
            break;
        }
    }
    return true;
}

std::optional<ToolStatus> OutputLock::claim(const RunContext& ctx, const std::vector<std::string>& outputs)
{
    if (!acquire(ctx.reporter, outputs))
        return ToolStatus::Failed;
    for (const std::string& out : outputs)
        if (!out.empty() && !ctx.confirmOverwrite(out))
            return ToolStatus::Declined;
    return std::nullopt;
}

}  // namespace ovd
