#include "editing/EditingTexts.h"

#include "widgets/Texts.h"

namespace corvane::editing {
namespace {

using Code = Outcome::Code;
using texts::quoted;

QString notFound(Act act, const Subject& s)
{
    switch (act) {
    case Act::AddCategory:
    case Act::RenameCategory:
    case Act::DeleteCategory:
        return QStringLiteral("A pasta %1 não foi encontrada.").arg(quoted(s.name));
    default:
        return QStringLiteral("O script %1 não foi encontrado na categoria %2.").arg(quoted(s.name), quoted(s.category));
    }
}

QString nameTaken(Act act, const Outcome& o, const Subject& s)
{
    switch (act) {
    case Act::MoveScript:
        return QStringLiteral("Já existe um script chamado %1 na categoria %2.")
            .arg(quoted(o.name.chopped(4)), quoted(o.category));
    case Act::RenameCategory:
        return QStringLiteral("Já existe uma pasta chamada %1.").arg(quoted(s.newName));
    default:
        return QStringLiteral("Já existe um script chamado %1.").arg(quoted(s.newName));
    }
}

QString writeFailed(Act act, const Outcome& o, const Subject& s)
{
    const QString name = quoted(s.name);
    switch (act) {
    case Act::AddScript:
        return texts::writeFailure(QStringLiteral("Não foi possível gravar o arquivo do script %1.").arg(name), o.error);
    case Act::RenameScript:
        return texts::writeFailure(
            QStringLiteral("Não foi possível renomear o arquivo do script %1; ele pode estar em uso.").arg(name), o.error);
    case Act::DeleteScript:
        return QStringLiteral("Não foi possível apagar o arquivo do script %1; ele pode estar em uso.").arg(name);
    case Act::MoveScript:
        return texts::writeFailure(
            QStringLiteral("Não foi possível mover o arquivo do script %1; ele pode estar em uso.").arg(name), o.error);
    case Act::SaveScript:
        return texts::writeFailure(QStringLiteral("Não foi possível gravar o script \"%1\" na categoria \"%2\". "
                                                  "O texto continua no visualizador.")
                                       .arg(s.name, s.category),
                                   o.error);
    case Act::AddCategory:
        return texts::writeFailure(QStringLiteral("Não foi possível criar a pasta %1 na pasta dos scripts.").arg(name),
                                   o.error);
    case Act::RenameCategory:
        return texts::writeFailure(QStringLiteral("Não foi possível renomear a pasta %1; ela pode estar em uso.").arg(name),
                                   o.error);
    case Act::DeleteCategory:
        return QStringLiteral("Não foi possível apagar a pasta %1 por completo.").arg(name);
    }
    return {};
}

QString reason(Act act, const Outcome& o, const Subject& s)
{
    switch (o.code) {
    case Code::NotScript:
        return QStringLiteral("O item %1 não é um script; só scripts podem ser movidos.").arg(quoted(s.name));
    case Code::NotFound:
        return notFound(act, s);
    case Code::FolderMissing:
        return QStringLiteral("A pasta da categoria %1 não foi encontrada.").arg(quoted(o.category));
    case Code::OutsideLibrary:
        return texts::outsideLibrary(act == Act::SaveScript ? QStringLiteral("O script \"%1\"").arg(s.name)
                                                            : QStringLiteral("A categoria ") + quoted(o.category));
    case Code::NameTaken:
        return nameTaken(act, o, s);
    case Code::Unreadable:
        return QStringLiteral("A pasta %1 não pôde ser lida. Nada foi apagado.").arg(quoted(s.name));
    case Code::NotOnlyScripts:
        return QStringLiteral("A pasta %1 contém subpastas ou arquivos ocultos, que não são scripts. Nada foi apagado.")
            .arg(quoted(s.name));
    case Code::Unencodable:
        return texts::unencodable(o.character);
    default:
        return writeFailed(act, o, s);
    }
}

}  // namespace

const Words& words(Act act)
{
    static const Words table[] = {
        {QStringLiteral("Adicionar Script"), {}, QStringLiteral("Script não adicionado!"), {}},
        {QStringLiteral("renomear script"), QStringLiteral("Renomear script"), QStringLiteral("Script não renomeado!"),
         QStringLiteral("Script renomeado!")},
        {QStringLiteral("Deletar Script"), QStringLiteral("Deletar script"), QStringLiteral("Script não deletado!"),
         QStringLiteral("Script deletado!")},
        {QStringLiteral("Mover Script"), QStringLiteral("Mover script"), QStringLiteral("Script não movido!"),
         QStringLiteral("Script movido!")},
        {QStringLiteral("Aviso edição"), QStringLiteral("Aviso edição"), QStringLiteral("Arquivo não editado"),
         QStringLiteral("Arquivo editado")},
        {QStringLiteral("Adicionar Categoria"), {}, QStringLiteral("Categoria não adicionada!"), {}},
        {QStringLiteral("Renomear Categoria"), QStringLiteral("Renomear categoria"),
         QStringLiteral("Categoria não renomeada!"), QStringLiteral("Categoria renomeada!")},
        {QStringLiteral("Deletar Categoria"), QStringLiteral("Deletar categoria"), QStringLiteral("Categoria não deletada!"),
         QStringLiteral("Categoria deletada!")},
    };
    return table[static_cast<int>(act)];
}

QString refusal(Act act, const Outcome& outcome, const Subject& subject)
{
    return texts::notDone(words(act).notDone, reason(act, outcome, subject));
}

QString needName() { return QStringLiteral("Você precisa colocar um nome válido!"); }
QString needNewName() { return QStringLiteral("Voce precisa colocar um novo nome!"); }
QString needScript() { return QStringLiteral("Voce precisa selecionar um nome!"); }
QString needCategory() { return QStringLiteral("Voce precisa selecionar uma Categoria"); }
QString needFileName() { return QStringLiteral("O arquivo precisa ter um nome!"); }

QString deleteScriptQuestion(const QString& name)
{
    return QStringLiteral("Você tem certeza que quer deletar ") + quoted(name) + u'?';
}

QString deleteCategoryQuestion(const QString& name)
{
    return QStringLiteral("Você tem certeza que quer deletar \r\n") + quoted(name)
        + QStringLiteral("?\r\nTodos os scripts contidos nela\r\nserão também deletados!");
}

QString saveQuestion() { return QStringLiteral("Deseja realmente alterar esse arquivo?"); }

QString changedOnDiskQuestion(const QString& name)
{
    return QStringLiteral("O script \"%1\" foi alterado por outro programa depois de aberto.\r\n"
                          "Deseja substituí-lo pelo texto do visualizador?")
        .arg(name);
}

QString moveQuestion(const QString& name, const QString& from, const QString& to)
{
    return QStringLiteral("Deseja realmente mover o script %1 da categoria %2 para a categoria %3?")
        .arg(quoted(name), quoted(from), quoted(to));
}

QString unsavedBeforeMove(const QString& name)
{
    return QStringLiteral("O texto do script %1 foi alterado e não foi salvo; salve-o com Editar antes de movê-lo.")
        .arg(quoted(name));
}

}  // namespace corvane::editing
