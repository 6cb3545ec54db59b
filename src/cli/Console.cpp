#include "cli/Console.h"

#include "library/Library.h"
#include "library/Names.h"
#include "library/ScriptFile.h"
#include "searchcore/TextSearch.h"

#include <optional>

namespace corvane::cli {
namespace {

// Every sentence the terminal shows.
namespace words {
QString noLibrary(const QString& dir) { return QStringLiteral("a pasta dos scripts \"%1\" não existe").arg(dir); }
QString tooShort() { return QStringLiteral("o texto da busca precisa ter ao menos 2 caracteres"); }
QString notCategoryAndName() { return QStringLiteral("diga o script como CATEGORIA/NOME"); }
QString noCategory(const QString& c) { return QStringLiteral("a categoria \"%1\" não existe").arg(c); }
QString noScript(const QString& n, const QString& c)
{
    return QStringLiteral("o script \"%1\" não existe na categoria \"%2\"").arg(n, c);
}
QString unreadable(const QString& n) { return QStringLiteral("o script \"%1\" não pôde ser lido").arg(n); }
QString tooBig(const QString& n)
{
    return QStringLiteral("o script \"%1\" é grande demais: o texto passa de %2 MB")
        .arg(n)
        .arg(script::kMaxStoredBytes / (1024 * 1024));
}
}  // namespace words

int fail(std::FILE* err, const QString& why, int code)
{
    std::fputs(("corvane: " + why + u'\n').toUtf8().constData(), err);
    return code;
}

std::optional<Item> entryShown(const Items& items, const QString& shown, bool scriptsOnly)
{
    for (const Item& item : items) {
        if (item.shown == shown && (!scriptsOnly || isScriptFile(item.key)))
            return item;
    }
    return std::nullopt;
}

}  // namespace

int search(const QString& scriptsDir, const QString& text, std::FILE* out, std::FILE* err)
{
    const Library library(scriptsDir);
    if (fs::info(library.rootPath()).type != fs::Type::Dir)
        return fail(err, words::noLibrary(scriptsDir), 2);
    // As the search box takes it: blanks around go, two characters at least.
    const QString needleText = names::trimBlanks(text);
    if (needleText.size() < 2)
        return fail(err, words::tooShort(), 2);
    const QList<search::Searcher::Hit> hits =
        search::Searcher(library).run(library.categories(), search::Needle(needleText));
    for (const search::Searcher::Hit& hit : hits)
        std::fputs((hit.line + u'\n').toUtf8().constData(), out);
    std::fflush(out);
    return hits.isEmpty() ? 1 : 0;
}

int show(const QString& scriptsDir, const QString& what, std::FILE* out, std::FILE* err)
{
    // Neither a category nor a script name holds a '/'.
    const qsizetype slash = what.indexOf(u'/');
    if (slash <= 0 || slash == what.size() - 1 || what.indexOf(u'/', slash + 1) >= 0)
        return fail(err, words::notCategoryAndName(), 2);
    const QString categoryName = what.left(slash), name = what.mid(slash + 1);
    const Library library(scriptsDir);
    if (fs::info(library.rootPath()).type != fs::Type::Dir)
        return fail(err, words::noLibrary(scriptsDir), 2);
    const std::optional<Item> category = entryShown(library.categories(), categoryName, false);
    if (!category)
        return fail(err, words::noCategory(categoryName), 1);
    const std::optional<Item> script = entryShown(library.readCategory(category->key).items, name, true);
    if (!script)
        return fail(err, words::noScript(name, categoryName), 1);
    const script::ReadResult read = script::read(library.scriptPath(category->key, script->key));
    if (read.status == script::ReadStatus::TooBig)
        return fail(err, words::tooBig(name), 1);
    if (read.status != script::ReadStatus::Ok)
        return fail(err, words::unreadable(name), 1);
    std::fputs(script::fromCrLf(read.text).toUtf8().constData(), out);
    std::fflush(out);
    return 0;
}

}  // namespace corvane::cli
