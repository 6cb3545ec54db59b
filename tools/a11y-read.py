#!/usr/bin/python3
"""Reads the running Corvane through the accessibility bus (AT-SPI), as a screen
reader does: the main window, its lists, viewer and buttons, a message box, the
search box, and the print, backup, help and credits windows. Presses what a user would
press through the same bus. Prints what it read; on the first thing amiss,
prints what was wrong and exits 1. Every wait is bounded.
Run by tools/a11y.sh on a library holding Notas/lista de compras and Receitas."""
import sys
import time

import pyatspi

# Qt's insides of a text view (viewport, scroll bar holders): not the program's.
QT_INSIDES = {'text'}


def fail(what):
    print('a11y: FALHOU: ' + what, flush=True)
    sys.exit(1)


def wait(what, probe, seconds=10):
    end = time.monotonic() + seconds
    while True:
        try:
            found = probe()
        except Exception:  # objects come and go while windows open and close
            found = None
        if found:
            return found
        if time.monotonic() > end:
            fail('%s (esperou %d s)' % (what, seconds))
        time.sleep(0.1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def kids(node):
    return [c for c in node if c is not None]


def seen(node):
    """The showing children as (role, name)."""
    return [(c.getRoleName(), c.name) for c in kids(node) if showing(c)]


def flat(node):
    """The showing descendants as (role, name), through Qt's unnamed groups (a
    message box's button row)."""
    found = []
    for c in kids(node):
        if not showing(c):
            continue
        if c.getRoleName() == 'panel' and not c.name:
            found += flat(c)
        else:
            found.append((c.getRoleName(), c.name))
    return found


def text_of(node):
    return node.queryText().getText(0, -1)


def child(node, role, name):
    found = [c for c in kids(node) if showing(c) and c.getRoleName() == role and c.name == name]
    return found[0] if len(found) == 1 else None


def window(app, role, name, seconds=10):
    return wait('a janela %s "%s"' % (role, name), lambda: child(app, role, name), seconds)


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if 'Press' not in names:
        fail('"%s" (%s) não pode ser pressionado: ações %s' % (node.name, node.getRoleName(), names))
    action.doAction(names.index('Press'))


def entries(lst):
    return [c.name for c in kids(lst) if c.getRoleName() == 'list item']


def report(title, node):
    print('%s: %s "%s"' % (title, node.getRoleName(), node.name))
    for c in kids(node):
        if not showing(c):
            continue
        line = '    %s "%s"' % (c.getRoleName(), c.name)
        if not c.getState().contains(pyatspi.STATE_ENABLED):
            line += ' (desabilitado)'
        if c.getRoleName() == 'list':
            line += ' ' + repr(entries(c))
        elif c.getRoleName() == 'text':
            line += ' texto=' + repr(text_of(c)[:48])
        elif c.getRoleName() == 'panel':
            line += ' ' + repr(flat(c))
        print(line)


def check_whole(root, where):
    """No decoration in the tree below root, every button a push button with a
    name; Qt's own insides of a text view aside."""
    def walk(node, in_text):
        role = node.getRoleName()
        if not in_text and role in ('filler', 'image', 'separator', 'frame', 'unknown', 'invalid'):
            fail('%s: uma decoração ou moldura no caminho do leitor: %s "%s"' % (where, role, node.name))
        if role == 'push button' and not node.name.strip():
            fail('%s: um botão sem nome' % where)
        for c in kids(node):
            walk(c, in_text or role in QT_INSIDES)
    for c in kids(root):
        walk(c, False)


def every_button(root):
    """The names of all push buttons below root, shown or hidden, sorted."""
    return sorted(b.name for b in pyatspi.findAllDescendants(root, lambda n: n.getRoleName() == 'push button'))


def expect(what, got, wanted):
    if got != wanted:
        fail('%s:\n  lido:    %r\n  esperado: %r' % (what, got, wanted))


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait('o programa no barramento de acessibilidade',
               lambda: next((a for a in desktop if a is not None and a.name == 'Corvane'), None), 20)

    main_window = window(app, 'frame', 'Corvane 1.0', 20)
    expect('as janelas do programa', seen(app), [('frame', 'Corvane 1.0')])
    buttons = lambda names: [('push button', n) for n in names]
    wanted_main = (buttons(['Ajuda', 'Créditos', 'Backup', 'Site do Corvane'])
                   + [('label', 'Notas: 1 scripts'), ('label', '18 bytes'), ('label', 'Categorias'),
                      ('list', 'Categorias'), ('text', 'Nome da categoria')]
                   + buttons(['Adicionar categoria', 'Renomear categoria', 'Deletar categoria'])
                   + [('label', 'Scripts'), ('push button', 'Buscar'), ('list', 'Scripts'),
                      ('text', 'Nome do script')]
                   + buttons(['Adicionar script', 'Renomear script', 'Deletar script'])
                   + [('label', 'Visualização')]
                   + buttons(['Diminuir a visualização', 'Aumentar a visualização'])
                   + [('text', 'Visualização')] + buttons(['Editar', 'Copiar', 'Imprimir']))
    expect('a janela principal', seen(main_window), wanted_main)
    check_whole(main_window, 'Corvane 1.0')
    # The hidden ones too (the search panel's, the header's looks under the pointer).
    expect('todos os botões da janela principal', every_button(main_window),
           sorted([n for r, n in wanted_main if r == 'push button']
                  + ['Buscar', 'Fechar Busca', 'Editar', 'Diminuir a visualização', 'Aumentar a visualização']))
    expect('a lista de categorias', entries(child(main_window, 'list', 'Categorias')), ['Notas', 'Receitas'])
    scripts = child(main_window, 'list', 'Scripts')
    expect('a lista de scripts', entries(scripts), ['lista de compras'])

    # A message box: its text and its button, read and pressed.
    press(child(main_window, 'push button', 'Adicionar categoria'))
    box = window(app, 'alert', 'Adicionar Categoria')
    report('caixa de mensagem', box)
    expect('a caixa de mensagem', flat(box), [('label', 'Você precisa colocar um nome!'), ('push button', 'OK')])
    check_whole(box, 'caixa de mensagem')
    press(next(b for b in pyatspi.findAllDescendants(box, lambda n: n.getRoleName() == 'push button')))
    wait('a caixa de mensagem fechar', lambda: child(app, 'alert', 'Adicionar Categoria') is None)

    # Choosing a script through the bus (a row of the list) shows its text.
    scripts.queryTable().addRowSelection(0)
    viewer = child(main_window, 'text', 'Visualização')
    wait('o texto do script na visualização', lambda: text_of(viewer) == 'Arroz e feijão')
    report('janela principal', main_window)

    # The search box, typed into and searched through the bus.
    press(child(main_window, 'push button', 'Buscar'))
    search_box = wait('a caixa de busca', lambda: child(main_window, 'text', 'Texto da busca'))
    search_box.queryEditableText().setTextContents('feij')
    press(wait('o botão Buscar da busca', lambda: child(main_window, 'push button', 'Buscar')))
    results = child(main_window, 'list', 'Resultados da busca')
    wait('o resultado da busca', lambda: entries(results) == ['lista de compras --> Notas'])
    report('busca aberta', main_window)
    check_whole(main_window, 'Corvane 1.0')
    press(child(main_window, 'push button', 'Fechar Busca'))
    wait('a busca fechar', lambda: child(main_window, 'text', 'Texto da busca') is None)
    wait('o script escolhido de novo', lambda: text_of(viewer) == 'Arroz e feijão')
    scripts.queryTable().addRowSelection(0)

    # The print window: the text to print, the four groups of options, two buttons.
    press(wait('Imprimir habilitado', lambda: (lambda b: b if b.getState().contains(pyatspi.STATE_ENABLED) else None)(
        child(main_window, 'push button', 'Imprimir'))))
    printing = window(app, 'dialog', 'Corvane - Print preview')
    report('janela de impressão', printing)
    check_whole(printing, 'impressão')
    got = seen(printing)
    expect('a janela de impressão', [g for g in got if g[0] != 'label'],
           [('text', 'Texto a imprimir'), ('panel', 'Cor'), ('panel', 'Corpo'), ('panel', 'Fonte'),
            ('panel', 'Papel')] + buttons(['Cancelar', 'Imprimir']))
    radios = lambda name: seen(child(printing, 'panel', name))
    expect('as cores', radios('Cor'), [('radio button', n) for n in ['Preto', 'Vermelho', 'Verde', 'Azul']])
    expect('os corpos', radios('Corpo'), [('radio button', n) for n in ['10', '11', '12', '13']])
    expect('as fontes', radios('Fonte'), [('radio button', n) for n in ['Arial', 'Courier', 'Times']])
    expect('os papéis', radios('Papel'), [('radio button', n) for n in ['A4', 'Carta', 'Ofício']])
    if 'Arroz e feijão' not in text_of(child(printing, 'text', 'Texto a imprimir')):
        fail('o texto a imprimir não traz o script')
    press(child(printing, 'push button', 'Cancelar'))
    wait('a janela de impressão fechar', lambda: child(app, 'dialog', 'Corvane - Print preview') is None)

    # The backup window, opened by its picture button.
    press(child(main_window, 'push button', 'Backup'))
    backup = window(app, 'dialog', 'Corvane - Backup')
    report('janela de backup', backup)
    check_whole(backup, 'backup')
    got = seen(backup)
    drive = next(c for c in kids(backup) if c.getRoleName() == 'combo box')
    labels = [r.getTarget(0).name for r in drive.getRelationSet()
              if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    expect('o rótulo da caixa de drives', labels, ['Escolher Drive'])
    for wanted in [('list', 'Escolher diretório'), ('list', 'Pastas a salvar'), ('radio button', 'Sim'),
                   ('radio button', 'Nao'), ('text', 'Caminho escolhido'), ('text', 'Nome da pasta destino'),
                   ('push button', 'Ajuda do backup'), ('push button', 'Backup'), ('push button', 'Cancelar')]:
        if wanted not in got:
            fail('a janela de backup não tem %r: %r' % (wanted, got))
    expect('as pastas a salvar', entries(child(backup, 'list', 'Pastas a salvar')), ['» Notas', '» Receitas'])
    press(child(backup, 'push button', 'Cancelar'))
    wait('a janela de backup fechar', lambda: child(app, 'dialog', 'Corvane - Backup') is None)

    # The help window, opened by its picture button; its topics are buttons.
    press(child(main_window, 'push button', 'Ajuda'))
    help_window = window(app, 'dialog', 'Corvane - Mini Help')
    report('janela de ajuda', help_window)
    check_whole(help_window, 'ajuda')
    expect('a janela de ajuda', seen(help_window),
           [('text', 'Ajuda: Início')] + buttons(['Início', 'Categorias', 'Scripts-Textos']))
    press(child(help_window, 'push button', 'Categorias'))
    topic = wait('o tópico Categorias', lambda: child(help_window, 'text', 'Ajuda: Categorias'))
    if not text_of(topic).strip():
        fail('o tópico Categorias está vazio')

    # The credits, over the help window: their texts, the site's link a button.
    press(child(main_window, 'push button', 'Créditos'))
    credits = window(app, 'dialog', 'Corvane - Créditos')
    report('janela de créditos', credits)
    check_whole(credits, 'créditos')
    expect('a janela de créditos', seen(credits),
           [('label', 'Corvane - Versão 1.0'), ('label', 'Feito pela Equipe Corvane\nDezembro de 2026'),
            ('label', 'Escrito em C++ com a biblioteca Qt, compilado com GCC e CMake.'),
            ('push button', 'Site do Corvane: corvane.app')])
    print('a11y: leitura pela acessibilidade OK', flush=True)


if __name__ == '__main__':
    main()
