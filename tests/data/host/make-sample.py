#!/usr/bin/env python3
"""Writes the bundled sample project (data/sample/) in every form ryvel-qa reads, and the
segments each form must hand to the plug-in (tests/data/host/sample-dump/<file>.tsv).

Markup in the table below: [b]..[/b] bold, [a]..[/a] a link, [br] a line break.
Run from the repository root: python3 tests/data/host/make-sample.py
"""
import os
import re

# (id, context, source, target). A list of (source, target) pairs is a unit of several
# segments; target None means untranslated, "" an empty translation.
UNITS = [
    ("u1", "", "Save", "Сохранить"),
    ("u2", "", "Save changes to {0}?", "Сохранить изменения в {0}?"),
    ("u3", "", "Could not open file %s.", "Не удалось открыть файлл %s."),
    ("u4", "", "[b]Warning:[/b] unsaved changes will be lost.",
     "[b]Внимание:[/b] все изменения, которые не были сохранены, будут потеряны."),
    ("u5", "", "Open Settings", "Открыть настроийки"),
    ("u6", "", "Version 2.4.1 is available. Download it from https://example.com/download.",
     "Доступна версия 2.4.1. Скачайте её на странице https://example.com/download."),
    ("u7", "", [("The file was saved.", "Файл сохранён."),
                ("Close the window to continue.", "Закройте окно, чтобы продолжить.")], None),
    ("u8", "", "Contact support at support@example.com.",
     "Напишите в службу поддержки: support@example.com."),
    ("u9", "", "Free space: {0} MB of {1} MB", "Свободно: {0} МБ из {1} МБ"),
    ("u10", "", "Connection failed. Check your network connection.",
     "Ошибка подключенния. Проверьте сетевое подключение."),
    ("u11", "", "Enter your password", "Введите пароьл"),
    ("u12", "", "Remember me", "Запомнить меня"),
    ("u13", "", "Sign in with Google", "Войти через Google"),
    ("u14", "", "Sync with Dropbox", "Синхронизировать с Dropbox"),
    ("u15", "", "Export to PDF", "Экспорт в PDF"),
    ("u16", "", "Print…", "Печать…"),
    ("u17", "", "ERROR: the disk is full.", "ОШИБКА: диск заполнен."),
    ("u18", "", "Click [b]OK[/b] to install the update.",
     "Нажмите [b]OK[/b], чтобы установить обновлениие."),
    ("u19", "", "Deleted files: %d", "Удалено файлов: %d"),
    ("u20", "", "Line 1[br]Line 2", "Строка 1[br]Строка 2"),
    ("u21", "", "Settings are stored in config.ini.", "Настройки хранятся в файле config.ini."),
    ("u22", "", "Press Ctrl+S to save.", "Нажмите Ctrl+S, чтобы сохранить."),
    ("u23", "", "Language: English (United States)", "Язык: английский (США)"),
    ("u24", "", "Terms & Conditions", "Условия использования"),
    ("u25", "", "Value must be less than 100.", "Значение должно быть меньше 100."),
    ("u26", "", "Android app", "Приложение для Android"),
    ("u27", "", "Updating… {0}% complete", "Обновление… выполнено {0}%"),
    ("u28", "", "Your trial expires on 31.12.2026.", "Пробный период заканчивается 31.12.2026."),
    ("u29", "", "Page {0} of {1}", "Страница {0} из {1}"),
    ("u30", "", "Undo", "Отменить"),
    ("u31", "", "Redo", "Повторить"),
    ("u32", "", "Cut", "Вырезать"),
    ("u33", "", "Copy", "Копировать"),
    ("u34", "", "Paste", "Вставить"),
    ("u35", "", "Select all", "Выделить всё"),
    ("u36", "", "Find and replace", "Найти и заменить"),
    ("u37", "", "NEW", "НОВОЕ"),
    ("u38", "", "Please restart the application.", "Пожалуйста, перезапустите приложение."),
    ("u39", "", "Read the [a]user guide[/a] for details.",
     "Подробности см. в [a]руководстве пользователя[/a]."),
    ("u40", "", "Not translated yet", None),
    ("u41", "", "Translated later", ""),
    ("u42", "", "Downloaded 3 of 10 files", "Загружено 3 из 10 файлов"),
    ("u43", "", "The file cannot be saved to the server.",
     "Не удалось сохранитть файл на сервере."),
    ("u44", "", "Recent documents", "Недавние докуменнты"),
    ("u45", "menu", "Open", "Открыть"),
    ("u46", "state", "Open", "Открыт"),
    ("u47", "", "Check for updates", "Проверить наличие обновлений"),
    ("u48", "", "Sign out", "Выйти"),
]

# The PO form has a plural entry instead of u19 and marks u12 fuzzy.
PO_PLURAL_ID = "u19"
PO_PLURAL = ("Deleted %d file", "Deleted %d files",
             ["Удалён %d файл", "Удалено %d файла", "Удалено %d файлов"])
PO_FUZZY_ID = "u12"

ROOT = os.getcwd()
SAMPLE = os.path.join(ROOT, "data", "sample")
DUMP = os.path.join(ROOT, "tests", "data", "host", "sample-dump")


def segments(unit):
    """(segment id, source, target) of a unit, in the form the XLIFF files keep them."""
    uid, _ctx, src, tgt = unit
    if isinstance(src, list):
        return [(f"{uid}#{i + 1}", s, t) for i, (s, t) in enumerate(src)]
    return [(uid, src, tgt)]


def joined(unit):
    uid, ctx, src, tgt = unit
    if isinstance(src, list):
        return uid, ctx, " ".join(s for s, _ in src), " ".join(t for _, t in src)
    return unit


def xml_escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


class Codes:
    """Renders the markup of one text for one form: (file text, text the plug-in sees)."""

    def __init__(self, form):
        self.form = form

    def render(self, text):
        out_file, out_seen, n = [], [], 0
        for piece in re.split(r"(\[/?b\]|\[/?a\]|\[br\])", text):
            if not piece:
                continue
            if not piece.startswith("["):
                out_file.append(xml_escape(piece) if self.form != "po" else piece)
                out_seen.append(piece)
                continue
            if not piece.startswith("[/"):
                n += 1
            f, s = self.code(piece, n)
            out_file.append(f)
            out_seen.append(s)
        return "".join(out_file), "".join(out_seen)

    def code(self, tag, n):
        kind = {"[b]": "open-b", "[/b]": "close-b", "[a]": "open-a", "[/a]": "close-a",
                "[br]": "br"}[tag]
        html = {"open-b": "<b>", "close-b": "</b>", "open-a": '<a href="https://example.com/guide">',
                "close-a": "</a>", "br": "<br/>"}[kind]
        ctype = {"b": "bold", "a": "link"}
        if self.form in ("po", "tsv"):
            return html, html
        if self.form == "xliff12":
            if kind == "br":
                t = f'<x id="{n}" ctype="lb"/>'
                return t, t
            if kind.startswith("open"):
                t = f'<g id="{n}" ctype="{ctype[kind[-1]]}">'
                return t, t
            return "</g>", "</g>"
        if self.form == "xliff20":
            if kind == "br":
                t = f'<ph id="{n}" type="fmt" subType="xlf:lb"/>'
                return t, t
            if kind.startswith("open"):
                t = f'<pc id="{n}" type="fmt" subType="xlf:{kind[-1]}">'
                return t, t
            return "</pc>", "</pc>"
        # TMX: native codes inside bpt/ept/ph, handed over as empty tags.
        if kind == "br":
            return f'<ph x="{n}" type="lb">{xml_escape(html)}</ph>', f'<ph x="{n}" type="lb"/>'
        if kind.startswith("open"):
            t = ctype[kind[-1]]
            return (f'<bpt i="{n}" type="{t}">{xml_escape(html)}</bpt>',
                    f'<bpt i="{n}" type="{t}"/>')
        return f'<ept i="{n}">{xml_escape(html)}</ept>', f'<ept i="{n}"/>'


def render_pair(form, src, tgt):
    """Inline codes are numbered per text; bold and links share numbering across the pair."""
    c = Codes(form)
    return c.render(src), (None if tgt is None else c.render(tgt))


def tsv_escape(s):
    return s.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def write_dump(name, rows):
    write(os.path.join(DUMP, name + ".tsv"),
          "".join(f"{tsv_escape(i)}\t{tsv_escape(t)}\n" for i, t in rows))


def xliff12():
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<xliff version="1.2" xmlns="urn:oasis:names:tc:xliff:document:1.2">',
           '  <file original="app/strings.resx" source-language="en-US" target-language="ru-RU"'
           ' datatype="plaintext">',
           '    <body>']
    dump = []
    for unit in UNITS:
        uid, ctx, src, tgt = unit
        note = f'\n        <note>{ctx}</note>' if ctx else ""
        if isinstance(src, list):
            segs = segments(unit)
            ssrc = " ".join(render_pair("xliff12", s, t)[0][0] for _, s, t in segs)
            mrk_s = " ".join(f'<mrk mtype="seg" mid="{k + 1}">{render_pair("xliff12", s, t)[0][0]}</mrk>'
                             for k, (_, s, t) in enumerate(segs))
            mrk_t = " ".join(f'<mrk mtype="seg" mid="{k + 1}">{render_pair("xliff12", s, t)[1][0]}</mrk>'
                             for k, (_, s, t) in enumerate(segs))
            out.append(f'      <trans-unit id="{uid}">\n        <source>{ssrc}</source>\n'
                       f'        <seg-source>{mrk_s}</seg-source>\n'
                       f'        <target state="translated">{mrk_t}</target>{note}\n      </trans-unit>')
            dump += [(sid, render_pair("xliff12", s, t)[1][1]) for sid, s, t in segs]
            continue
        (sf, _), tr = render_pair("xliff12", src, tgt)
        target = "" if tr is None else f'\n        <target state="translated">{tr[0]}</target>'
        out.append(f'      <trans-unit id="{uid}">\n        <source>{sf}</source>{target}{note}\n'
                   f'      </trans-unit>')
        if tr and tr[1]:
            dump.append((uid, tr[1]))
    out += ['    </body>', '  </file>', '</xliff>', '']
    write(os.path.join(SAMPLE, "sample-1.2.xlf"), "\n".join(out))
    write_dump("sample-1.2.xlf", dump)


def xliff20():
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<xliff xmlns="urn:oasis:names:tc:xliff:document:2.0" version="2.0" srcLang="en-US"'
           ' trgLang="ru-RU">',
           '  <file id="f1" original="app/strings.json">']
    dump = []
    for unit in UNITS:
        uid, ctx, src, tgt = unit
        notes = f'\n      <notes><note category="context">{ctx}</note></notes>' if ctx else ""
        segs = segments(unit) if isinstance(src, list) else [(uid, src, tgt)]
        body = []
        for k, (sid, s, t) in enumerate(segs):
            (sf, _), tr = render_pair("xliff20", s, t)
            target = "" if tr is None else f"<target>{tr[0]}</target>"
            seg_id = f' id="{k + 1}"' if len(segs) > 1 else ""
            body.append(f'      <segment{seg_id}>\n        <source>{sf}</source>'
                        + (f"\n        {target}" if target else "") + "\n      </segment>")
            if len(segs) > 1 and k + 1 < len(segs):
                body.append('      <ignorable>\n        <source> </source>\n      </ignorable>')
            if tr and tr[1]:
                dump.append((sid, tr[1]))
        out.append(f'    <unit id="{uid}">{notes}\n' + "\n".join(body) + "\n    </unit>")
    out += ['  </file>', '</xliff>', '']
    write(os.path.join(SAMPLE, "sample-2.0.xlf"), "\n".join(out))
    write_dump("sample-2.0.xlf", dump)


def tmx():
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<tmx version="1.4">',
           '  <header creationtool="make-sample" creationtoolversion="1" datatype="plaintext"'
           ' segtype="sentence" adminlang="en-US" srclang="en-US" o-tmf="none"/>',
           '  <body>']
    dump = []
    for unit in UNITS:
        for sid, s, t in segments(unit) if isinstance(unit[2], list) else [unit[0:1] + unit[2:]]:
            (sf, _), tr = render_pair("tmx", s, t)
            tuvs = [f'      <tuv xml:lang="en-US"><seg>{sf}</seg></tuv>']
            if tr is not None:
                tuvs.append(f'      <tuv xml:lang="ru-RU"><seg>{tr[0]}</seg></tuv>')
            out.append(f'    <tu tuid="{sid}">\n' + "\n".join(tuvs) + '\n    </tu>')
            if tr and tr[1]:
                dump.append((sid, tr[1]))
    out += ['  </body>', '</tmx>', '']
    write(os.path.join(SAMPLE, "sample.tmx"), "\n".join(out))
    write_dump("sample.tmx", dump)


def po_string(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'


def po():
    lines = ['# Sample Russian translation of a small application.',
             'msgid ""', 'msgstr ""',
             '"Project-Id-Version: sample 1.0\\n"',
             '"Language: ru\\n"',
             '"MIME-Version: 1.0\\n"',
             '"Content-Type: text/plain; charset=UTF-8\\n"',
             '"Content-Transfer-Encoding: 8bit\\n"',
             '"Plural-Forms: nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && '
             'n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);\\n"']
    dump = []
    for unit in UNITS:
        uid, ctx, src, tgt = joined(unit)
        lines.append("")
        lines.append(f"#. {uid}")
        if uid == PO_PLURAL_ID:
            lines.append(f"msgid {po_string(PO_PLURAL[0])}")
            line = len(lines)
            lines.append(f"msgid_plural {po_string(PO_PLURAL[1])}")
            for i, form in enumerate(PO_PLURAL[2]):
                lines.append(f"msgstr[{i}] {po_string(form)}")
                dump.append((f"{line}[{i}]", form))
            continue
        if uid == PO_FUZZY_ID:
            lines.append("#, fuzzy")
        if ctx:
            lines.append(f"msgctxt {po_string(ctx)}")
        (sf, _), tr = render_pair("po", src, tgt)
        lines.append(f"msgid {po_string(sf)}")
        line = len(lines)
        lines.append(f"msgstr {po_string('' if tr is None else tr[0])}")
        if tr and tr[1]:
            dump.append((str(line), tr[1]))
    lines += ["", "#~ msgid \"Old menu entry\"", "#~ msgstr \"Старый пункт менюю\"", ""]
    write(os.path.join(SAMPLE, "sample.po"), "\n".join(lines))
    write_dump("sample.po", dump)


def tsv():
    rows = ["id\tsource\ttarget"]
    dump = []
    for unit in UNITS:
        uid, _ctx, src, tgt = joined(unit)
        (sf, _), tr = render_pair("tsv", src, tgt)
        rows.append(f"{uid}\t{tsv_escape(sf)}\t{tsv_escape('' if tr is None else tr[0])}")
        if tr and tr[1]:
            dump.append((uid, tr[1]))
    write(os.path.join(SAMPLE, "sample.tsv"), "\n".join(rows) + "\n")
    write_dump("sample.tsv", dump)


if __name__ == "__main__":
    os.makedirs(SAMPLE, exist_ok=True)
    os.makedirs(DUMP, exist_ok=True)
    xliff12()
    xliff20()
    tmx()
    po()
    tsv()
