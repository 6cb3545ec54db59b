#include "help/HelpTexts.h"

#include <cstring>

namespace corvane::help {
namespace {

struct Entry {
    const char* name;
    const char* text;  // UTF-8
};

constexpr Entry kTable[] = {
    {"lblIniText1", "O Corvane é baseado no armazenamento de informações em arquivos de texto puro "
                    "(ASCII - txt), portanto algumas condições são importantes para evitar problemas de "
                    "leitura:"},
    {"lblIniText2", "1 - Em nomes de 'Categorias' e 'Scripts' são permitidos espaços, porém sem "
                    "possibilidade de digitação de caracteres especiais e/ou acentos."},
    {"lblIniText3", "2 - Em 'Categorias', máximo de 20 caracteres. Em 'Scripts', máximo de 30 caracteres."},
    {"lblIniText4", "3 - A pasta 'scripts' jamais deve ser apagada, caso contrário, o Programa não "
                    "funcionará."},
    {"lblCatText1", "1 - Adicionar Categoria. "},
    {"lblCatText2", "Clicar no box 'Categorias' e digitar o nome de sua preferência. Depois clica em 'Add'."},
    {"lblCatText3", "2 - Renomear Categoria."},
    {"lblCatText4", "Clicar na Categoria a ser alterada primeiro e digitar o novo nome de sua preferência. "
                    "Depois clica em 'Ren'."},
    {"lblCatText5", "3 - Deletar Categoria."},
    {"lblCatText6", "Clicar na categoria a ser deletada e depois em 'Del'. A categoria e todos os scripts "
                    "pertencentes a ela serão definitivamente apagados. Tenha certeza do que está fazendo, "
                    "pois esta operação é irreversível."},
    {"lblFileText1", "1 - Adicionar Script."},
    {"lblFileText2", "Selecionar uma categoria previamente criada. Em seguida, clicar no box 'Scripts' em "
                     "digitar o nome de sua preferência. Depois clica em 'Add'. É possível já adicionar o "
                     "corpo do texto clicando na janela de 'Visualização' e digitando ou colando o texto."},
    {"lblFileText3", "2 - Renomear Script."},
    {"lblFileText4", "Clicar no script a ser alterado primeiro e digitar o novo nome de sua preferência. "
                     "Depois clica em 'Ren'."},
    {"lblFileText5", "3 - Deletar Script."},
    {"lblFileText6", "Simplesmente, clicar no script a ser deletado e depois em 'Del'. O script será "
                     "definitivamente apagado. Esta operação é irreversível."},
    {"lblFileText7", "4 - Editar Script."},
    {"lblFileText8", "Com um script previamente selecionado, redigitar o texto referente a ele, na janela de "
                     "'Visualização'. Depois clica em 'Editar', e o texto é salvo automaticamente."},
};

// A piece of a topic: a string and the line breaks that follow it.
struct Piece {
    const char* name;
    int breaks;
};

QString compose(std::initializer_list<Piece> pieces)
{
    QString out;
    for (const Piece& piece : pieces) {
        out += text(piece.name);
        for (int i = 0; i < piece.breaks; ++i)
            out += QStringLiteral("\r\n");
    }
    return out;
}

}  // namespace

QString text(const char* name)
{
    for (const Entry& entry : kTable)
        if (std::strcmp(entry.name, name) == 0)
            return QString::fromUtf8(entry.text);
    return {};
}

QString topic(Topic which)
{
    switch (which) {
    case Topic::Ini:
        return compose({{"lblIniText1", 2}, {"lblIniText2", 2}, {"lblIniText3", 2}, {"lblIniText4", 0}});
    case Topic::Cat:
        return compose({{"lblCatText1", 1}, {"lblCatText2", 2}, {"lblCatText3", 1}, {"lblCatText4", 2},
                        {"lblCatText5", 1}, {"lblCatText6", 0}});
    case Topic::File:
        return compose({{"lblFileText1", 1}, {"lblFileText2", 2}, {"lblFileText3", 1}, {"lblFileText4", 2},
                        {"lblFileText5", 1}, {"lblFileText6", 2}, {"lblFileText7", 1}, {"lblFileText8", 0}});
    }
    return {};
}

QString helpTitle()
{
    return QStringLiteral("Corvane - Mini Help");
}

QString topicName(const QString& caption)
{
    return QStringLiteral("Ajuda: ") + caption;
}

QString creditsTitle()
{
    return QStringLiteral("Corvane - Créditos");
}

QString creditsHeading()
{
    return QStringLiteral("Corvane - Versão 1.0");
}

QString creditsAuthors()
{
    return QStringLiteral("Feito pela Equipe Corvane\nDezembro de 2026");
}

QString creditsTools()
{
    return QStringLiteral("Escrito em C++ com a biblioteca Qt, compilado com GCC e CMake.");
}

QString siteName(const QString& host)
{
    return QStringLiteral("Site do Corvane: ") + host;
}

}  // namespace corvane::help
