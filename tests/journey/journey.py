#!/usr/bin/env python3
"""The journey: the suite installed from its disk and used as a person uses it, on a real X
display, from the install to the uninstall.

Black box: the programs are driven only with key and mouse events; results are read only from
files, window titles and screenshots (kept under the build folder, one per step).

    journey.py --build BUILD [--keep] [--only NAME]

BUILD is a build folder holding the install disk (BUILD/disk) and qvform. Exit 0 when every
step passed; otherwise the failing step is printed with its screenshot."""

import argparse
import html
import json
import re
import os
import shutil
import subprocess
import sys
import tempfile
import time
import traceback
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from desktop import Display, StepFailed, desktop_exec_argv, read_desktop_entry, wait_until  # noqa: E402

ANSWERS = {
    "NAME": "Thomas Grant",
    "ADDRESS": "12 Elm Court",
    "CITY": "Newport",
    "STATE": "Oregon",
    "LENDER": "Maria Lopez",
    "PRINCIPAL": "5000",
    "RATE": "6",
    "DUEDATE": "December 31, 2027",
}
# Worked out by the form from the answers above.
EXPECTED_INTEREST = "$300.00"
EXPECTED_TOTAL = "$5,300.00"
PROGRAMS = {"QVLEGAL.EXE", "QVEDIT.EXE", "UNINSTAL.EXE", "TOLVAD.EXE"}


class Home:
    """A fresh home with its XDG folders, as a new user has it."""

    def __init__(self, root: Path):
        self.root = root
        self.home = root / "home"
        self.env = {
            "HOME": str(self.home),
            "XDG_CONFIG_HOME": str(self.home / ".config"),
            "XDG_DATA_HOME": str(self.home / ".local/share"),
            "XDG_CACHE_HOME": str(self.home / ".cache"),
            "XDG_STATE_HOME": str(self.home / ".local/state"),
            "XDG_RUNTIME_DIR": str(root / "runtime"),
            "TMPDIR": str(root / "tmp"),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            # The programs under test may be sanitizer builds: leaks in a black-box run are
            # not the journey's business, crashes are.
            "ASAN_OPTIONS": "detect_leaks=0:abort_on_error=0",
        }
        for key in ("HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR",
                    "TMPDIR"):
            Path(self.env[key]).mkdir(parents=True, exist_ok=True)
        os.chmod(self.env["XDG_RUNTIME_DIR"], 0o700)

    def snapshot(self):
        """Every path under the home with its content (files) or None (folders)."""
        result = {}
        for dirpath, dirnames, filenames in os.walk(self.home):
            for d in dirnames:
                p = Path(dirpath, d)
                result[str(p.relative_to(self.home))] = None
            for f in filenames:
                p = Path(dirpath, f)
                try:
                    result[str(p.relative_to(self.home))] = p.read_bytes() if not p.is_symlink() else b"->"
                except OSError:
                    result[str(p.relative_to(self.home))] = b"?"
        return result


class Journey:
    def __init__(self, build: Path, out: Path, keep: bool):
        self.build = build
        self.disk = build / "disk"
        self.qvform = build / "src/tools/qvform/qvform"
        self.out = out
        self.keep = keep
        self.step_name = ""
        self.last_shot = None
        self.processes = []
        self.log = open(out / "programs.log", "wb")

    # --- the steps' frame --------------------------------------------------------------

    def step(self, name):
        self.step_name = name
        print(f"journey: {name}", flush=True)

    def shot(self, name):
        self.last_shot = self.display.screenshot(name)
        return self.last_shot

    def start(self, argv, cwd=None):
        p = self.display.start([str(a) for a in argv], cwd=cwd, env=self.home.env, log=self.log)
        self.processes.append(p)
        return p

    def run_install(self, folder_text=None):
        """SETUP from the disk: the shared-library messages of a first install, then Change Folder,
        where the default is accepted or `folder_text` typed."""
        d = self.display
        seen = set()
        setup = self.start([self.disk / "SETUP"], cwd=self.home.home)
        while True:
            found = wait_until("Change Folder or a setup message",
                               lambda: d.windows("^Change Folder$") or
                               [w for w in d.windows("^Setup$") if w not in seen], timeout=90)
            window = found[-1]
            if d.title(window) == "Change Folder":
                break
            seen.add(window)
            d.activate(window)
            self.shot("setup-message")
            d.key("Return")
        d.activate(window)
        self.shot("change-folder")
        if folder_text is not None:
            d.key("ctrl+a")
            d.type(folder_text)
            self.shot("change-folder-typed")
        d.key("Return")
        ended = wait_until("the setup to finish (or a message about the folder)",
                           lambda: setup.poll() is not None or
                           [w for w in d.windows("^Setup$") if w not in seen], timeout=300)
        self.shot("setup-finished")
        if ended is not True and setup.poll() is None:
            raise StepFailed("the setup refused the folder with a message (see the screenshot)")
        if setup.returncode != 0:
            raise StepFailed(f"the setup ended with exit code {setup.returncode}")

    def launchers(self):
        folder = Path(self.home.env["XDG_DATA_HOME"]) / "applications/q-v-davov-software"
        if not folder.is_dir():
            raise StepFailed(f"no desktop menu folder {folder}")
        return {read_desktop_entry(p).get("Name", p.name): p for p in sorted(folder.glob("*.desktop"))}

    def check_installed(self, folder: Path):
        """Modes of the installed files, the launchers valid and naming programs that exist."""
        problems = []
        if not folder.is_dir():
            raise StepFailed(f"the install folder {folder} does not exist")
        for p in sorted(folder.rglob("*")):
            mode = p.stat().st_mode & 0o777
            if p.is_dir():
                want = 0o755
            elif p.name.upper() in PROGRAMS:
                want = 0o755
            else:
                want = 0o644
            if mode != want:
                problems.append(f"{p} has mode {mode:o}, wants {want:o}")
        forms = [p for p in (folder / "TOLVAD").glob("*") if p.is_file()]
        if len(forms) < 5:
            problems.append(f"only {len(forms)} forms in {folder / 'TOLVAD'}")
        launchers = self.launchers()
        for wanted in ("Tolvad Organizer", "Uninstall Q-V Davov Software"):
            if wanted not in launchers:
                problems.append(f"no launcher named {wanted!r} (found {sorted(launchers)})")
        apps = Path(self.home.env["XDG_DATA_HOME"]) / "applications"
        for path in sorted(apps.rglob("*.desktop")):
            r = subprocess.run(["desktop-file-validate", str(path)], capture_output=True, text=True)
            if r.returncode != 0 or "error" in r.stdout:
                problems.append(f"desktop-file-validate {path}: {r.stdout.strip()} {r.stderr.strip()}")
            entry = read_desktop_entry(path)
            argv = desktop_exec_argv(entry.get("Exec", ""))
            if not argv or not Path(argv[0]).is_file() or not os.access(argv[0], os.X_OK):
                problems.append(f"{path.name}: Exec names no program that exists: {argv[:1]}")
            if not entry.get("Icon"):
                problems.append(f"{path.name}: no Icon=")
        if problems:
            raise StepFailed("\n  ".join(["what the install left is wrong:"] + problems))

    def start_launcher(self, name):
        entry = read_desktop_entry(self.launchers()[name])
        argv = desktop_exec_argv(entry["Exec"])
        return self.start(argv, cwd=entry.get("Path") or self.home.home)

    def form_category(self, folder: Path, code):
        """The catalogue button (0-10) and the position in its list of form `code`, read from the
        installed catalogue data as a person reads the catalogue's buttons."""
        data = (folder / "TOLVAD.DAT").read_bytes().decode("cp1252").replace("\r\n", "\n")
        category, row = -1, 0
        for line in data.split("\n"):
            if line.startswith(":") and line.strip() != ":END":
                category, row = category + 1, 0
            elif line.startswith("    ") and len(line) > 8:
                if line[4:8] == code:
                    return category, row
                row += 1
        raise StepFailed(f"form {code} is not in the installed catalogue")

    # --- the journey --------------------------------------------------------------------

    def run(self):
        with tempfile.TemporaryDirectory(prefix="qv-journey-") as tmp, Display(self.out) as display:
            self.display = display
            self.home = Home(Path(tmp))
            os.umask(0o022)
            try:
                self.main_journey()
                self.odd_folder_journey()
            except Exception:
                self.shot("failed")
                raise
            finally:
                for p in self.processes:
                    if p.poll() is None:
                        try:
                            os.killpg(p.pid, 15)
                        except OSError:
                            pass
                if self.keep:
                    kept = self.out / "home"
                    shutil.rmtree(kept, ignore_errors=True)
                    shutil.copytree(self.home.home, kept, symlinks=True)

    def main_journey(self):
        d = self.display
        self.step("1. install from the disk into a fresh home, accepting the default folder")
        before = self.home.snapshot()
        self.run_install()
        folder = self.home.home / "Program Files/Q-V Davov Software"

        self.step("2. installed files: modes, launchers, programs")
        self.check_installed(folder)

        self.step("3. the catalogue from its launcher; a category; the Promissory Note")
        entry = self.open_promissory_note(folder)

        self.step("3b. answer every question by keyboard, Enter through the calculated ones")
        model = json.loads(subprocess.run([self.qvform, "inspect", folder / "TOLVAD/P501.QVF"],
                                          capture_output=True, check=True).stdout)
        names = [model["varNames"][v] for v in model["occVars"]]
        for k, name in enumerate(names):
            if name in ANSWERS:
                d.key("ctrl+a")
                d.type(ANSWERS[name])
            if k + 1 < len(names):
                d.key("Return")
        time.sleep(0.5)
        self.shot("answered")
        if "*" not in d.title(entry):
            raise StepFailed(f"typed answers do not mark the worksheet modified: {d.title(entry)!r}")

        self.step("3c. print to PDF; the computed interest and total are on the page")
        qvlegal_pdf = self.print_to_pdf(entry, "qvlegal")
        text = subprocess.run(["pdftotext", "-layout", qvlegal_pdf, "-"], capture_output=True,
                              text=True).stdout
        for want in (EXPECTED_INTEREST, EXPECTED_TOTAL, "Thomas Grant", "Maria Lopez"):
            if want not in text:
                raise StepFailed(f"{want!r} is not on the printed page:\n{text}")

        self.step("4. save the worksheet into the forms folder")
        worksheet = folder / "TOLVAD/grant-note.qvw"
        d.activate(entry)
        d.key("ctrl+s")
        self.save_as_dialog(str(worksheet.with_suffix("")))
        wait_until(f"{worksheet}", worksheet.exists, timeout=20)
        wait_until("the title without the modified mark", lambda: "*" not in d.title(entry), timeout=10)
        self.shot("worksheet-saved")

        self.step("4b. Done: the print file, typed without extension over an existing file")
        print_file = folder / "TOLVAD/grant-note.qvp"
        print_file.write_bytes(b"an older print file\n")
        d.activate(entry)
        d.key("alt+d")
        self.answer_done_questions(str(print_file.with_suffix("")))
        editor = d.wait_window("^grant-note.qvp - Q-V Print File Editor$", timeout=60)
        wait_until("QVLEGAL to close", lambda: not d.windows("Variable Entry$"), timeout=30)
        if not print_file.read_bytes().startswith(b"{\\rtf"):
            raise StepFailed("the print file was not written over the old one")
        d.activate(editor)
        self.shot("qvedit")

        self.step("4c. print from QVEDIT: the same pages and lines as QVLEGAL")
        qvedit_pdf = self.print_to_pdf(editor, "qvedit")
        self.compare_prints(qvlegal_pdf, qvedit_pdf)

        self.step("5. close QVEDIT: the catalogue comes back")
        self.close_back_to_catalogue(editor, "catalogue-back")

        self.step("6. uninstall from the menu: keep other products, then remove everything")
        self.uninstall(keep_others=True)
        if (folder / "TOLVAD.EXE").exists() or not (folder / "QVLEGAL.EXE").exists():
            raise StepFailed("keeping other products must remove the catalogue and keep QVLEGAL")
        self.uninstall(keep_others=False)
        for kept in (worksheet, print_file):
            if not kept.exists():
                raise StepFailed(f"the uninstall deleted the user's own file {kept}")
        self.check_nothing_left(before, {worksheet, print_file})

    def odd_folder_journey(self):
        self.step("7. the same install into a folder with blanks, % and non-ASCII letters")
        before = self.home.snapshot()
        folder = self.home.home / "Mes Formulaires 100% Ærø"
        self.run_install(str(folder))
        self.check_installed(folder)

        self.step("7b. from that folder's catalogue a form opens, and closing it brings the catalogue back")
        entry = self.open_promissory_note(folder)
        self.close_back_to_catalogue(entry, "odd-folder-catalogue-back")

        self.step("7c. remove everything again")
        self.uninstall(keep_others=False)
        self.check_nothing_left(before, set())

    def close_back_to_catalogue(self, window, shot):
        """Closes a program the catalogue started: the catalogue comes back; then closes that."""
        d = self.display
        d.activate(window)
        d.key("alt+F4")
        back = d.wait_window("^Tolvad Organizer$", timeout=60)
        self.shot(shot)
        d.activate(back)
        d.key("alt+F4")
        d.wait_no_window("^Tolvad Organizer$", timeout=30)

    def open_promissory_note(self, folder: Path):
        """The catalogue from its launcher: Choose a Form, the note's category, the note."""
        d = self.display
        self.start_launcher("Tolvad Organizer")
        start_screen = d.wait_window("^Tolvad Organizer$")
        d.activate(start_screen)
        self.shot("start-screen")
        # "Choose a Form", the start screen's upper picture button.
        d.click(start_screen, 60 + 78, 263 + 23)
        catalogue = wait_until("the catalogue window",
                               lambda: [w for w in d.windows("^Tolvad Organizer$") if w != start_screen],
                               timeout=30)[-1]
        d.activate(catalogue)
        category, row = self.form_category(folder, "P501")
        positions = [(22, 81), (212, 81), (405, 81), (22, 133), (212, 133), (405, 133), (22, 185),
                     (212, 185), (405, 185), (22, 237), (212, 237)]
        x, y = positions[category]
        menu_bar = self.menu_height(catalogue)
        # The window grows once it is shown; its buttons stay where they are.
        d.click(catalogue, x + 78, y + 16 + menu_bar)
        wait_until("the forms list below the buttons", lambda: d.geometry(catalogue)[3] > 400, timeout=20)
        self.shot("category")
        # The category's forms fill the list below the buttons: click the first, move down to ours.
        d.click(catalogue, 100, 300 + menu_bar + 10)
        for _ in range(row):
            d.key("Down")
        self.shot("form-selected")
        d.key("Return")
        entry = d.wait_window("^New - Promissory Note - Q-V Variable Entry$", timeout=90)
        d.activate(entry)
        self.shot("qvlegal")
        return entry

    # --- pieces of the journey ------------------------------------------------------------

    def menu_height(self, window):
        # The catalogue's client area starts below its menu bar.
        return 20

    def print_to_pdf(self, window, name):
        """Ctrl+P; in the print dialog the output file (Alt+F) is named, then Print."""
        d = self.display
        pdf = self.out / f"{name}.pdf"
        if pdf.exists():
            pdf.unlink()
        d.activate(window)
        d.key("ctrl+p")
        dialog = d.wait_window("^Print$", timeout=30)
        d.activate(dialog)
        self.shot(f"{name}-print-dialog")
        d.key("alt+f")
        d.key("ctrl+a")
        d.type(str(pdf))
        self.shot(f"{name}-print-file-named")
        d.key("Return")
        wait_until(f"{pdf}", lambda: pdf.exists() and pdf.stat().st_size > 0 and
                   not d.windows("^Print$"), timeout=60)
        # The file is complete once its size stops changing.
        size = -1
        while size != pdf.stat().st_size:
            size = pdf.stat().st_size
            time.sleep(0.3)
        return pdf

    def save_as_dialog(self, typed, title="^Save"):
        d = self.display
        dialog = d.wait_window(title, timeout=30)
        d.activate(dialog)
        d.key("ctrl+a")
        d.type(typed)
        time.sleep(0.3)  # the file name completer settles
        self.shot("save-as-typed")
        d.key("Return")
        return dialog

    def answer_done_questions(self, typed):
        """Done: the first-time help, Yes to saving the worksheet, the print file's name typed
        without its extension over an existing file: the replace question must come."""
        d = self.display
        first = d.wait_window("^(Q-V Davov First-Time Help|Confirmation)$", timeout=30)
        if d.title(first) != "Confirmation":
            d.activate(first)
            self.shot("first-time-help")
            d.key("Return")
            first = d.wait_window("^Confirmation$", timeout=30)
        d.activate(first)
        self.shot("confirmation")
        d.key("alt+y")
        dialog = self.save_as_dialog(typed, "^Save As$")
        question = wait_until("the question whether to replace the existing print file",
                              lambda: [w for w in d.windows("^Save As$") if w != dialog] or
                              (not d.windows("^Save As$") and "closed"), timeout=20)
        if question == "closed":
            raise StepFailed("the Save As dialog replaced an existing file without asking")
        d.activate(question[-1])
        self.shot("replace-question")
        d.key("alt+y")

    def next_window(self, title, seen, what, timeout=60):
        d = self.display
        window = wait_until(what, lambda: [w for w in d.windows(title) if w not in seen], timeout=timeout)[-1]
        seen.add(window)
        d.activate(window)
        return window

    def uninstall(self, keep_others):
        """The menu's uninstall launcher: Yes; other products Yes (keep) or No (everything)."""
        d = self.display
        process = self.start_launcher("Uninstall Q-V Davov Software")
        seen = set()
        self.next_window("^Q-V Uninstall$", seen, "the question whether to uninstall")
        self.shot("uninstall-sure")
        d.key("alt+y")
        self.next_window("^Q-V Uninstall$", seen, "the question about other products")
        self.shot("uninstall-other-products")
        d.key("alt+y" if keep_others else "alt+n")
        self.next_window("^Q-V Uninstall$", seen, "the success message")
        self.shot("uninstall-done")
        d.key("Return")
        if not keep_others:
            self.next_window("^Q-V Uninstall$", seen, "the restart question")
            self.shot("uninstall-restart-question")
            d.key("Escape")
        wait_until("the uninstall to end", lambda: process.poll() is not None, timeout=60)

    def compare_prints(self, qvlegal_pdf, qvedit_pdf):
        """The print file prints from QVEDIT with QVLEGAL's lines, pages and 10 characters per inch."""
        def pages(pdf):
            info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
            return int(next(l.split()[-1] for l in info.splitlines() if l.startswith("Pages:")))

        def lines(pdf):
            text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True).stdout
            return [" ".join(l.split()) for l in text.splitlines() if l.strip()]

        if pages(qvlegal_pdf) != pages(qvedit_pdf):
            raise StepFailed(f"QVLEGAL printed {pages(qvlegal_pdf)} page(s), QVEDIT {pages(qvedit_pdf)}")
        a, b = lines(qvlegal_pdf), lines(qvedit_pdf)
        if a != b:
            diff = [f"QVLEGAL: {x!r}\n    QVEDIT:  {y!r}" for x, y in zip(a, b) if x != y][:5]
            raise StepFailed("QVEDIT breaks the lines differently:\n    " + "\n    ".join(diff))
        longest = max(a, key=len)
        if len(longest) < 60:
            raise StepFailed(f"no full line on the page to measure: {longest!r}")
        bbox = subprocess.run(["pdftotext", "-bbox", qvedit_pdf, "-"], capture_output=True, text=True).stdout
        widths = []
        for m in re.finditer(r'xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">([^<]+)</word>',
                             bbox):
            word = html.unescape(m.group(3))
            if len(word) >= 4:
                widths.append((float(m.group(2)) - float(m.group(1))) / len(word))
        if not widths or any(abs(w - 7.2) > 0.25 for w in widths):
            raise StepFailed(f"QVEDIT does not print 10 characters per inch: widths {sorted(set(round(w, 2) for w in widths))}")

    def check_nothing_left(self, before, user_files):
        after = self.home.snapshot()
        keep = {str(p.relative_to(self.home.home)) for p in user_files}
        for p in list(keep):
            parent = Path(p).parent
            while str(parent) != ".":
                keep.add(str(parent))
                parent = parent.parent
        # Qt's file dialog remembers its last folder for every Qt program, and the desktop's
        # libraries keep caches: neither is the setup's to remove.
        def not_ours(p):
            return p == ".config/QtProject.conf" or p in (".cache", ".local/state") or \
                p.startswith((".cache/fontconfig", ".cache/mesa_shader_cache"))
        leftovers = sorted(p for p in after if p not in before and p not in keep and not not_ours(p))
        changed = sorted(p for p in after if p in before and after[p] != before[p])
        if leftovers or changed:
            raise StepFailed("\n  ".join(["the uninstall left what the setup made:"] + leftovers +
                                         [f"changed: {p}" for p in changed]))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True, type=Path)
    parser.add_argument("--keep", action="store_true", help="keep the journey's home under the output folder")
    args = parser.parse_args()
    out = args.build / "journey"
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    journey = Journey(args.build.resolve(), out.resolve(), args.keep)
    try:
        journey.run()
    except StepFailed as e:
        print(f"journey: FAILED at step {journey.step_name!r}\n  {e}", file=sys.stderr)
        if journey.last_shot:
            print(f"  last screenshot: {journey.last_shot}", file=sys.stderr)
        return 1
    except Exception:
        print(f"journey: ERROR at step {journey.step_name!r}", file=sys.stderr)
        traceback.print_exc()
        if journey.last_shot:
            print(f"  last screenshot: {journey.last_shot}", file=sys.stderr)
        return 1
    print("journey: every step passed", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
