#!/usr/bin/python3
"""Writes the seed corpora of the fuzz targets (tests/fuzz/corpus/NAME) from the demo game and
the fixture projects: small files only; the output is committed. The dictionaries beside them
(corpus/NAME.dict) are written by hand.

    tests/fuzz/make_seeds.py
"""

import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
CORPUS = os.path.join(HERE, "corpus")
DATA_FOLDERS = ("Config", "Frames", "FramesData", "Areas")
# Media files are left out: the project target is about the data files.
MEDIA = (".gif", ".bmp", ".jpg", ".png", ".wav", ".mp3", ".avi", ".cur", ".ico", ".wmf", ".emf",
         ".mid", ".wma")
MAX_SEED = 24000


def data_files(project):
    for folder in DATA_FOLDERS:
        base = os.path.join(project, folder)
        if not os.path.isdir(base):
            continue
        for name in sorted(os.listdir(base)):
            path = os.path.join(base, name)
            numbered = len(name) > 4 and name[-4] == "." and name[-3:].isdigit()
            if os.path.isfile(path) and not name.lower().endswith(MEDIA) and not numbered:
                yield folder + "/" + name, open(path, "rb").read()


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def project_seeds():
    projects = [os.path.join(ROOT, "examples", "demo")]
    fixtures = os.path.join(ROOT, "tests", "projects")
    projects += [os.path.join(fixtures, p) for p in
                 ("texts_game", "hotspots_game", "inventory_game", "game_scheme", "game_windowed",
                  "hotspots_broken", "tiny")]
    for project in projects:
        bundle = b""
        for name, data in data_files(project):
            piece = b"@@ " + name.encode() + b"\n" + data
            if not piece.endswith(b"\n"):
                piece += b"\n"
            if len(bundle) + len(piece) > MAX_SEED:
                continue
            bundle += piece
        write("project_fuzzer", os.path.basename(project), bundle)


def data_file_seeds():
    # The first byte picks the reading: 0 typed reads, 1 project information, 2 frame header.
    demo = os.path.join(ROOT, "examples", "demo")
    for name, data in data_files(demo):
        if len(data) > MAX_SEED:
            continue
        mode = b"\x01" if name == "Config/General" else b"\x02" if name.endswith(".fme") else b"\x00"
        write("data_file_fuzzer", name.replace("/", "_").replace(" ", "_"), mode + data)
    write("data_file_fuzzer", "literals", b"\x00\"text\",12,-3.5E+2,#TRUE#,#FALSE#,#NULL#,"
          b"#2004-03-07 12:00:00#,\"----- SEPARATOR -----\"\r\n\"a\"\"b\",,\r\n")


def ini_seeds():
    # The file, then 0x1F and the section, key and value to write.
    write("ini_fuzzer", "more", b"[General]\r\nScriptTimeOut=30\r\nProcEncr=0\r\n"
          b"\x1fGeneral\x1fProcEncr\x1f1")
    write("ini_fuzzer", "settings", b"[Demo]\r\nPath=/home/me/demo/\r\nText=\"  two\\nlines \"\r\n"
          b"\r\n[Other Game]\r\nChangeResolution=1\r\n\x1fEvil]\r\n[Demo]\x1fPath\x1f/tmp/x")
    write("ini_fuzzer", "escapes", b"[a\\x3db]\r\nk\\x5b=v\\x0d\\x0a\r\n; comment\r\n"
          b"\x1fa=b\x1fk[\x1fv\r\n")


def event_script_seeds():
    shutil.copyfile(os.path.join(ROOT, "examples", "demo", "walkthrough.events"),
                    os.path.join(CORPUS, "event_script_fuzzer", "walkthrough"))
    write("event_script_fuzzer", "all_commands",
          b"wait 100\nclick 1 2\nclick 3 4 right\ndblclick 5 6\npress 1 1 left\nrelease 1 1\n"
          b"move 7 8\ndrag 1 2 3 4\nkey Esc\nkey a ctrl shift alt\nkey F12\ntype hello  there\n"
          b"control Area(3) dblclick\nselect lstSaves My game\nmenu mnuFrameName(2)\n"
          b"answer yes\ninput some text\ninput-cancel\ndump\n# a comment\n\nquit\n")


def main():
    for target in ("project_fuzzer", "data_file_fuzzer", "ini_fuzzer", "event_script_fuzzer"):
        shutil.rmtree(os.path.join(CORPUS, target), ignore_errors=True)
    os.makedirs(os.path.join(CORPUS, "event_script_fuzzer"))
    project_seeds()
    data_file_seeds()
    ini_seeds()
    event_script_seeds()


if __name__ == "__main__":
    main()
