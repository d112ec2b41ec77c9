#!/usr/bin/env python3
"""Writes the help document docs/help/Hilfe.pdf from the text below (plain PDF 1.4, Helvetica,
WinAnsi encoding, A4). Run it again after changing the text."""
import os
import textwrap

TITLE = "Feldor – Hilfe"

SECTIONS = [
    ("Wozu dient Feldor?",
     "Feldor zeigt das elektromagnetische Feld in der Umgebung einer Amateurfunkantenne und hilft "
     "beim Nachweis, dass die Grenzwerte zum Schutz von Personen und von Trägern von "
     "Herzschrittmachern eingehalten werden. Grundlage sind die Nahfeld-Ausgaben eines "
     "Antennen-Simulationsprogramms (EZNEC, NEC-Win Pro, 4nec2 oder MMANA)."),
    ("Daten einlesen",
     "Im Menü \"Datei\" werden eine oder mehrere Nahfeld-Dateien des gewählten Formats geöffnet. "
     "Alle Punkte werden zu einem Feld zusammengeführt; jede Datei erscheint mit einer Zeile im "
     "Skriptfenster. Liegen \"Antenne.txt\" und \"Boden.txt\" im selben Verzeichnis, werden "
     "Antenne und Boden mit eingelesen. Enthält der Import elektrische und magnetische Ebenen, "
     "berechnet Feldor zusätzlich die Feldimpedanz E/H."),
    ("Anzeige",
     "Die Karte zeigt eine waagerechte Ebene als Farbbild. Feldart (E, H oder Z=E/H), Komponente, "
     "Ebene, Sendeleistung (1 bis 1000 W), Band und Betriebsart werden im Hauptfenster gewählt. "
     "Die Farbskala bezieht sich wahlweise auf das Maximum der Ebene, auf den Personenschutz-"
     "Grenzwert, auf die Herzschrittmacher-Schwelle oder auf einen festen Bezugswert; ein Klick "
     "auf die Skala verschiebt die Bezugsmarke."),
    ("Messpunkte und Schnitt",
     "Beim Überfahren der Karte zeigt Feldor Koordinaten und Feldwert unter dem Mauszeiger. Ein "
     "Klick setzt einen Messpunkt; das Messwertfenster listet ihn mit seinem Anteil an den "
     "Grenzwerten und kann die Liste speichern oder kopieren. Eine auf der Karte gezogene "
     "Schnittlinie ergibt einen senkrechten Schnitt durch alle Ebenen in einem eigenen Fenster."),
    ("Speichern und Bilder",
     "Das zusammengeführte Feld wird mit Leistung, Band, Betriebsart und Geometrie als "
     "Feldor-Datei (.fdr) gespeichert und später wieder geöffnet, auch als Argument beim "
     "Programmstart. Karte und Schnitt lassen sich als Bild speichern oder in die Zwischenablage "
     "kopieren."),
    ("Werkzeuge",
     "Das Menü \"Tools\" öffnet die Rechner für Koaxkabel und Steckverbinder, für die "
     "Zweidrahtleitung und den Schwingkreis, die Tabelle der Grenzwerte nach BEMFV, den Dialog "
     "für die Trennzeichen der Ländereinstellung und die Systeminformationen."),
    ("Trennzeichen",
     "Feldor rechnet mit dem Komma als Dezimal- und dem Punkt als Tausender-Trennzeichen. Ist "
     "die Ländereinstellung anders, bietet das Programm beim Start an, sie zu korrigieren; danach "
     "wird es beendet und muss neu gestartet werden."),
    ("Hinweis",
     "Die Anzeige ersetzt keine Standortbescheinigung. Maßgeblich sind die jeweils gültigen "
     "Vorschriften und die Angaben der zuständigen Behörde."),
]

PAGE_W, PAGE_H, MARGIN = 595, 842, 56


def esc(text):
    raw = text.replace("–", "-").encode("cp1252")
    out = []
    for b in raw:
        c = chr(b)
        if c in "()\\":
            out.append("\\" + c)
        elif b > 126:
            out.append("\\%03o" % b)
        else:
            out.append(c)
    return "".join(out)


def pages():
    lines = [("F2", 18, TITLE), ("F1", 11, "")]
    for head, body in SECTIONS:
        lines.append(("F2", 12, head))
        for line in textwrap.wrap(body, 88):
            lines.append(("F1", 10.5, line))
        lines.append(("F1", 8, ""))
    result, current, y = [], [], PAGE_H - MARGIN
    for font, size, text in lines:
        step = size * 1.45
        if y - step < MARGIN:
            result.append(current)
            current, y = [], PAGE_H - MARGIN
        y -= step
        if text:
            current.append("BT /%s %g Tf %d %.1f Td (%s) Tj ET" % (font, size, MARGIN, y, esc(text)))
    result.append(current)
    return result


def build(path):
    objects = []
    content_pages = pages()
    n = len(content_pages)
    # 1 catalog, 2 pages, 3 regular font, 4 bold font, then page and content pairs.
    kids = " ".join("%d 0 R" % (5 + 2 * i) for i in range(n))
    objects.append("<< /Type /Catalog /Pages 2 0 R >>")
    objects.append("<< /Type /Pages /Kids [%s] /Count %d >>" % (kids, n))
    objects.append("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    objects.append("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>")
    for i, ops in enumerate(content_pages):
        stream = "\n".join(ops)
        objects.append("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 %d %d] "
                       "/Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> /Contents %d 0 R >>"
                       % (PAGE_W, PAGE_H, 6 + 2 * i))
        objects.append("<< /Length %d >>\nstream\n%s\nendstream" % (len(stream.encode("latin-1")), stream))
    data = bytearray(b"%PDF-1.4\n")
    offsets = []
    for i, obj in enumerate(objects, 1):
        offsets.append(len(data))
        data += ("%d 0 obj\n%s\nendobj\n" % (i, obj)).encode("latin-1")
    xref = len(data)
    data += ("xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)).encode()
    for off in offsets:
        data += ("%010d 00000 n \n" % off).encode()
    data += ("trailer\n<< /Size %d /Root 1 0 R /Info << /Title (%s) >> >>\nstartxref\n%d\n%%%%EOF\n"
             % (len(objects) + 1, esc(TITLE), xref)).encode("latin-1")
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    build(os.path.join(root, "docs", "help", "Hilfe.pdf"))
