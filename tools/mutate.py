#!/usr/bin/env python3
"""Plants one plausible fault at a time in a scratch copy of the tree, runs the
whole suite, and tells whether the suite caught it.

    tools/mutate.py            every fault
    tools/mutate.py 3 7        only faults 3 and 7
    tools/mutate.py --list     the faults, numbered
    tools/mutate.py --check    that every fault still applies to the code
    tools/mutate.py --blind    the faults of tools/faults_blind.py instead, written
                               from src/ alone by someone who never read the tests
    tools/mutate.py --both     both lists in one run, the blind one first

A fault names the file it was written for; when its code has moved, it is
looked for in every file of src/ and applies where it is found exactly once.

The scratch copy and its build live in $CORVANE_MUTANTS (default
/tmp/corvane-mutants) and are removed at the end. Needs the packages of
./test.sh; a fault that no longer builds is reported apart, not as caught.
"""
import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# (file, code as it is, code with the fault, what a developer got wrong)
FAULTS = [
    # library: format, code page, names, sizes, lists
    ("src/library/Cp1252.cpp", "0x2018, 0x2019", "0x2019, 0x2018",
     "two code points of the 0x80-0x9F table swapped"),
    ("src/library/Names.cpp", 'zZ.-_ 1234567890"', 'zZ.-_, 1234567890"',
     "the name filter lets a comma through"),
    ("src/library/ScriptFile.cpp", "result.bytes.append(c == kQuote ? kStoredQuote : c);",
     "result.bytes.append(c);", "double quotes stored as they are"),
    ("src/library/ScriptFile.cpp", "text.replace(QChar(0xA4), QChar(u'\"'));", "",
     "the currency sign not turned back into a quote"),
    ("src/library/ScriptFile.cpp", "readHead(file, path, kMaxStoredBytes + 2, bytes, digest)",
     "readHead(file, path, 64 * 1024, bytes, digest)", "a long script read only as far as the first 64 KB"),
    ("src/library/Sizes.cpp", "if (std::pow(1024.0, i) <= count) {", "if (std::pow(1024.0, i) < count) {",
     "exactly 1 Kb shown in bytes"),
    ("src/library/Library.cpp", "            return a.first < b.first;", "            return a.first > b.first;",
     "lists sorted backwards"),
    ("src/library/Library.cpp", "if (e.hidden || (e.type != fs::Type::File && e.type != fs::Type::Dir))",
     "if (e.type != fs::Type::File && e.type != fs::Type::Dir)", "hidden files listed as scripts"),
    ("src/library/Library.cpp", "        if (!e.hidden && e.type == fs::Type::Dir)",
     "        if (e.type == fs::Type::Dir)", "hidden folders listed as categories"),
    # the file-system door
    ("src/library/FsPosixWrite.cpp", "    Fd out{openTemp(target, temp)};",
     "    Fd out{::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)};\n    temp = target;",
     "saving written in place instead of through a temporary"),
    ("src/library/FsPosixWrite.cpp", "    return step() && (::fsync(fd) == 0 || fail(errno));",
     "    step();\n    ::fsync(fd);\n    return true;", "a failed flush not noticed"),
    ("src/library/FsPosixWrite.cpp", "    if (::lstat(target.constData(), &st) == 0)\n        return fail(EEXIST);", "",
     "without hard links (FAT, exFAT) a new script replaces one of its name"),
    ("src/library/FsPosixMove.cpp", "S_ISDIR(st.st_mode) && onFuse(from)", "S_ISDIR(st.st_mode) && false",
     "a folder on FUSE renamed whole, which fusefat empties"),
    ("src/library/FsPosixMove.cpp", "    if (moveEntry(via, to))\n        return true;", "    return true;",
     "a folder's case-only rename on FAT left under its hidden name"),
    ("src/library/Fs.cpp", "    return p == r || p.startsWith(r.endsWith('/') ? r : r + '/');",
     "    return p.startsWith(r);", "a sibling folder whose name starts like the library's counts as inside"),
    ("src/library/Fs.cpp", "    return cp1252::decode(raw);", "    return text;",
     "names that are not UTF-8 shown with replacement marks"),
    ("src/library/Fs.cpp", "    if (g_failAt.load() == n) {", "    if (g_failAt.load() == n + 1) {",
     "the injected failure hits the wrong step"),
    ("src/library/FsPosixMove.cpp", "AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)",
     "AT_FDCWD, to.constData(), 0) == 0)", "a moved script replaces a file of its name"),
    ("src/library/FsPosixMove.cpp", "|| !removeFile(from))\n        return undo();",
     "|| !removeFile(from))\n        return false;", "a move across disks that fails at the end leaves the copy"),
    ("src/library/ScriptMove.cpp", "for (const QByteArray& category : {move.from, move.to})",
     "for (const QByteArray& category : {move.to})", "a script moves out of a category that leads outside"),
    # start-up and the shared pieces
    ("src/library/FsPosixLock.cpp", "LOCK_EX | LOCK_NB", "LOCK_SH | LOCK_NB",
     "two copies may hold the library at once"),
    ("src/library/LibraryLock.cpp", "        result = lock_.takeOnThisMachine();", "        result = fs::Lock::Failed;",
     "where flock() is missing, a second copy runs too"),
    ("src/backup/BackupWindow.cpp", "error == EILSEQ || ", "", "a backup onto exFAT refused a name without saying why"),
    ("src/widgets/Msg.cpp", "    box.setEscapeButton(no);", "    box.setEscapeButton(yes);",
     "Esc on a Yes/No question answers Sim"),
    ("src/widgets/Msg.cpp", "box.setDefaultButton(yesByDefault ? yes : no);", "box.setDefaultButton(no);",
     "Não as the default answer"),
    ("src/widgets/Msg.cpp", "return ask(parent, text, title, icon, false);", "return ask(parent, text, title, icon, true);",
     "a hasty Enter replaces another computer's edit"),
    ("src/widgets/NameBox.cpp", "        QString kept = names::filtered(inserted);",
     "        QString kept = inserted.toString();", "pasted text reaches the name box unfiltered"),
    ("src/widgets/NameBox.cpp", "            kept.truncate(qMax(qsizetype(0), limit_ - (prefix + suffix)));", "",
     "pasted text passes the length limit"),
    ("src/widgets/TextViewer.cpp", ": withLineFeeds(document()->toRawText());", ": toPlainText();",
     "no-break spaces lost on save and print"),
    # what other programs change
    ("src/app/Startup.cpp", "    if (library.owned)\n", "    if (true)\n",
     "start-up tidies a folder the user named"),
    ("src/library/Library.cpp", "if (fs::moveToTrash(rootPath_ + e.name) != fs::Trashed::Yes)",
     "if (!fs::removeFile(rootPath_ + e.name))", "stray files deleted for good"),
    ("src/library/ScriptOps.cpp", "        if (now.exists && now != *loaded)", "        if (false)",
     "a save replaces another computer's edit without asking"),
    ("src/editing/TextEditor.cpp", "    viewer_.script().saved(library_.pathOf(target), snapshot);\n", "",
     "the program's own save taken for another's change"),
    ("src/widgets/ShownScript.cpp", "    if (!showsLoaded_ || viewer_.document()->isModified())",
     "    if (!showsLoaded_)", "the user's unsaved edit replaced by the file's new text"),
    ("src/widgets/ShownScript.cpp", "    watcher_.addPath(file);\n", "",
     "a change made in place never reaches the viewer"),
    ("src/browse/DiskFollower.cpp", "        watcher_.removePaths(watcher_.directories());\n", "        ;\n",
     "a folder replaced by another of its name is no longer followed"),
    ("src/library/Library.cpp", "return fileName.endsWith(\".txt\");", "return fileName.contains(\".txt\");",
     "a.txt.doc taken for a script"),
    ("src/searchcore/TextSearch.cpp", "c == script::kQuote ? script::kStoredQuote : c", "c",
     "a typed double quote never found"),
    # browsing
    ("src/browse/Panes.cpp", "browseTexts::categorySize(totalBytes)", "browseTexts::categorySize(scriptCount)",
     "category size shows the count"),
    ("src/browse/ListRules.cpp", "{ScriptName, DeleteScript, RenameScript, AddScript, Save, Copy, Print}",
     "{ScriptName, DeleteScript, RenameScript, AddScript, Save, Print}",
     "Copiar stays disabled after choosing a script"),
    # editing
    ("src/library/ScriptOps.cpp", "Library::taken(dir, name + QStringLiteral(\".txt\"))",
     "Library::taken(dir, name)", "adding a script over an existing one"),
    ("src/editing/CategoryEditor.cpp", "        if (e.hidden || e.type != fs::Type::File)",
     "        if (e.type == fs::Type::Dir)", "deleting a category throws away its hidden files"),
    ("src/library/Discard.cpp", "    if (entry.link || entry.type != fs::Type::Dir)", "    if (entry.type != fs::Type::Dir)",
     "deleting a linked category empties the folder it leads to"),
    ("src/library/Discard.cpp", "    const fs::Trashed trashed = fs::moveToTrash(path);",
     "    const fs::Trashed trashed = fs::Trashed::NoTrash;", "deleted scripts never reach the trash"),
    ("src/library/ScriptOps.cpp", "    if (fs::info(path).link) {", "    if (false) {",
     "saving through a link that leads outside the library"),
    ("src/widgets/Texts.cpp", "    return fs::diskFull(error) ?", "    return false ?",
     "a full disk not named as such"),
    ("src/browse/DiskFollower.cpp",
     "    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));", "",
     "the lists do not follow changes made by other programs"),
    ("src/widgets/Controls.cpp", "        if (cut)\n            QToolTip::showText", "        if (false)\n            QToolTip::showText",
     "a name cut by its list gets no tool tip"),
    ("src/browse/Browser.cpp", "    viewer_.viewer()->clear();\n    apply(Event::ScriptDeleted);",
     "    apply(Event::ScriptDeleted);", "a deleted script's text stays in the viewer"),
    # search
    ("src/searchcore/TextSearch.cpp", "(s[1] | 0x20) == 't'", "s[1] == 't'", "scripts named .TXT never searched"),
    ("src/search/SearchPanel.cpp", "    save_->setEnabled(read.status != script::ReadStatus::TooBig);",
     "    save_->setEnabled(true);", "a script too big to load can be saved over"),
    # printing
    ("src/printing/PrintJob.cpp", "    printer->setColorMode(QPrinter::Color);", "",
     "the printer left in its default (grey) colour mode"),
    ("src/printing/BoxedText.cpp", "tabStopFor(8 * metrics.averageCharWidth(), font, device)",
     "tabStopFor(4 * metrics.averageCharWidth(), font, device)", "tab stops four characters apart"),
    # help
    ("src/help/CreditsWindow.cpp", "    setTextColour(link_, palette().color(QPalette::ButtonText));", "",
     "the site link keeps the default text colour"),
]


def run(cmd, cwd, timeout, env=None):
    try:
        return subprocess.run(cmd, cwd=cwd, env=env, timeout=timeout, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode
    except subprocess.TimeoutExpired:
        return -1


def copy_tree(scratch):
    files = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, check=True,
                           stdout=subprocess.PIPE).stdout.decode().split("\0")
    for f in filter(None, files):
        src, dst = os.path.join(ROOT, f), os.path.join(scratch, f)
        if os.path.isfile(src):
            os.makedirs(os.path.dirname(dst), exist_ok=True)
            shutil.copy2(src, dst)


def sources(base):
    for folder, _, names in os.walk(os.path.join(base, "src")):
        for name in sorted(names):
            yield os.path.relpath(os.path.join(folder, name), base)


def where(fault, base):
    """The file the fault applies to (its own, else the one file of src/ holding
    its code once), or None."""
    path, old, _, _ = fault
    def count(p):
        try:
            with open(os.path.join(base, p), encoding="utf-8") as f:
                return f.read().count(old)
        except (OSError, UnicodeDecodeError):
            return 0
    if count(path) == 1:
        return path
    found = [p for p in sources(base) if count(p)]
    return found[0] if len(found) == 1 and count(found[0]) == 1 else None


def applies(fault, base):
    return where(fault, base) is not None


def main(argv):
    global FAULTS
    if "--blind" in argv or "--both" in argv:
        sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
        from faults_blind import FAULTS as blind
        blind = [(p, o, n, "[blind] " + w) for p, o, n, w in blind]
        FAULTS = blind + FAULTS if "--both" in argv else blind
    if "--list" in argv:
        for i, (path, _, _, what) in enumerate(FAULTS, 1):
            print(f"{i:3}  {path:32} {what}")
        return 0
    stale = [i for i, f in enumerate(FAULTS, 1) if not applies(f, ROOT)]
    if "--check" in argv or stale:
        for i in stale:
            print(f"fault {i} no longer applies: {FAULTS[i - 1][0]}: {FAULTS[i - 1][1]!r}")
        return 1 if stale else 0
    chosen = [int(a) for a in argv if a.isdigit()] or list(range(1, len(FAULTS) + 1))

    scratch = os.environ.get("CORVANE_MUTANTS", "/tmp/corvane-mutants")
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    build = os.path.join(scratch, "build")
    # The programs on a stick only after the rest passed, and each run stops at its
    # first failing program: a caught fault costs what it takes to catch it.
    ctest = ["ctest", "--test-dir", build, "-j", str(os.cpu_count() or 2), "--timeout", "180",
             "--stop-on-failure"]
    stick = "_fat$|_exfat$"
    targets = ["--target", "corvane", "corvane_packaged"] + [
        n[:-4] for n in sorted(os.listdir(os.path.join(ROOT, "tests"))) if n.startswith("tst_") and n.endswith(".cpp")]

    def suite_fails():
        return run(ctest + ["-E", stick], scratch, 1800, env) or run(ctest + ["-R", stick], scratch, 1800, env)

    try:
        copy_tree(scratch)
        print("Building the scratch copy...", flush=True)
        if run(["cmake", "-S", scratch, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
               scratch, 600) or run(["cmake", "--build", build], scratch, 3600):
            print("the scratch copy does not build")
            return 1
        if suite_fails():
            print("the suite fails without any fault; fix that first")
            return 1
        caught = missed = invalid = 0
        for i in chosen:
            path, old, new, what = FAULTS[i - 1]
            path = where(FAULTS[i - 1], scratch)
            target = os.path.join(scratch, path)
            with open(target, encoding="utf-8") as f:
                original = f.read()
            with open(target, "w", encoding="utf-8") as f:
                f.write(original.replace(old, new, 1))
            if run(["cmake", "--build", build] + targets, scratch, 1800):
                verdict = "does not build"
                invalid += 1
            elif suite_fails():
                verdict = "caught"
                caught += 1
            else:
                verdict = "MISSED"
                missed += 1
            with open(target, "w", encoding="utf-8") as f:
                f.write(original)
            print(f"{i:3}  {verdict:15} {path}: {what}", flush=True)
        total = caught + missed
        print(f"\n{caught} of {total} faults caught ({100 * caught // max(total, 1)}%), "
              f"{invalid} did not build")
        return 0 if missed == 0 else 2
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
