#!/usr/bin/env bash
# Makes the RTF and plain-text fixtures of the rich-text tests with real tools, once. The output is
# committed (fixtures/*), each file with a "<name>.tool" note of the tool and version that made it,
# so that test runs need no office suite. Needs: pandoc libreoffice-writer-nogui latex2rtf
# python3-pygments abiword dos2unix.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/fixtures
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
cd "$work"

note() {  # note NAME TOOL-AND-VERSION HOW
  printf 'tool: %s\nmade by: %s\n' "$2" "$3" > "$out/$1.tool"
}

pandoc_version=$(pandoc --version | head -1)
cat > doc.md <<'MD'
# First heading

Plain text with **bold**, *italic*, ~~struck~~ and ^super^ spans, and an é.

## Second heading

A [link](http://example.com/) in a paragraph.

- one item
- another item

| Name | Value |
|------|-------|
| a    | 1     |
| b    | 2     |

Last paragraph.[^1]

[^1]: The footnote text.
MD
pandoc -s -f markdown -t rtf doc.md -o "$out/pandoc.rtf"
note pandoc.rtf "$pandoc_version" "pandoc -s -f markdown -t rtf"

soffice_version=$(soffice --version 2>/dev/null | head -1)
pandoc -f markdown -t docx doc.md -o lo.docx
HOME=$work soffice --headless --convert-to rtf lo.docx >/dev/null 2>&1
cp lo.rtf "$out/libreoffice.rtf"
note libreoffice.rtf "$soffice_version" "pandoc -t docx, then soffice --headless --convert-to rtf"

cat > table.html <<'HTML'
<html><body>
<p style="text-align:center"><b>Centred bold title</b></p>
<table border="1" cellpadding="4" style="border-collapse:collapse">
<tr><td style="background:#ffff00">yellow cell</td><td style="border:2px solid red">red border</td></tr>
<tr><td>plain</td><td><i>italic</i> cell</td></tr>
</table>
<p style="margin-left:2cm;text-indent:-1cm">Hanging indent paragraph with <a name="mark1">a bookmark</a>.</p>
</body></html>
HTML
HOME=$work soffice --headless --writer --convert-to rtf:"Rich Text Format" table.html >/dev/null 2>&1
cp table.rtf "$out/libreoffice-table.rtf"
note libreoffice-table.rtf "$soffice_version" "soffice --headless --writer --convert-to rtf from HTML"

# A double-underlined hyperlink followed by hidden text (the label's hyperlink and its stamp), colours
# and a shaded, bordered table, written by LibreOffice from flat ODF.
cat > link.fodt <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:automatic-styles>
  <style:style style:name="Red" style:family="text"><style:text-properties fo:color="#cc0000" fo:font-weight="bold"/></style:style>
  <style:style style:name="Mark" style:family="text"><style:text-properties fo:background-color="#ffff00"/></style:style>
  <style:style style:name="Link" style:family="text"><style:text-properties fo:color="#0000ff" style:text-underline-style="solid" style:text-underline-type="double" style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
  <style:style style:name="Hidden" style:family="text"><style:text-properties text:display="none"/></style:style>
  <style:style style:name="Tbl" style:family="table"><style:table-properties style:width="12cm" table:align="left"/></style:style>
  <style:style style:name="Tbl.A" style:family="table-column"><style:table-column-properties style:column-width="6cm"/></style:style>
  <style:style style:name="Tbl.A1" style:family="table-cell"><style:table-cell-properties fo:background-color="#c0e0ff" fo:padding="0.1cm" fo:border="0.5pt solid #000000"/></style:style>
  <style:style style:name="Tbl.B1" style:family="table-cell"><style:table-cell-properties fo:padding="0.1cm" fo:border="0.5pt solid #000000"/></style:style>
 </office:automatic-styles>
 <office:body>
  <office:text>
   <text:p><text:span text:style-name="Link">this hyperlink text is long enough to wrap over the right edge of a narrow label</text:span><text:span text:style-name="Hidden">topic-stamp-42</text:span> and after it.</text:p>
   <text:p>Rich text label with <text:span text:style-name="Red">red bold words</text:span> and a <text:span text:style-name="Mark">marked phrase</text:span>.</text:p>
   <table:table table:name="Table1" table:style-name="Tbl">
    <table:table-column table:style-name="Tbl.A" table:number-columns-repeated="2"/>
    <table:table-row>
     <table:table-cell table:style-name="Tbl.A1" office:value-type="string"><text:p>Shaded cell</text:p></table:table-cell>
     <table:table-cell table:style-name="Tbl.B1" office:value-type="string"><text:p>Plain cell</text:p></table:table-cell>
    </table:table-row>
    <table:table-row>
     <table:table-cell table:style-name="Tbl.B1" office:value-type="string"><text:p>second row</text:p></table:table-cell>
     <table:table-cell table:style-name="Tbl.A1" office:value-type="string"><text:p><text:span text:style-name="Red">red</text:span> in a cell</text:p></table:table-cell>
    </table:table-row>
   </table:table>
   <text:p>Last paragraph.</text:p>
  </office:text>
 </office:body>
</office:document>
XML
HOME=$work soffice --headless --convert-to rtf link.fodt >/dev/null 2>&1
cp link.rtf "$out/libreoffice-link.rtf"
note libreoffice-link.rtf "$soffice_version" "soffice --headless --convert-to rtf from flat ODF"

latex2rtf_version=$(latex2rtf -v 2>&1 | head -1 || true)
cat > note.tex <<'TEX'
\documentclass{article}
\begin{document}
A sentence with a footnote\footnote{Footnote text here.} and \textbf{bold} and \emph{emphasis}.

Second paragraph.
\end{document}
TEX
latex2rtf -o "$out/latex2rtf.rtf" note.tex >/dev/null 2>&1
note latex2rtf.rtf "$latex2rtf_version" "latex2rtf"

pygmentize=/usr/bin/pygmentize
pygments_version=$($pygmentize -V | head -1 | cut -d, -f1)
cat > sample.py <<'PY'
import os, re
@decorator
class Foo(Base):
    """Doc."""
    x: int = 0x1F + 3.5e2 - 7j
    def greet(self, name: str) -> str:
        # comment
        if name is not None and name in {"a": 1}: raise ValueError(r"\d+" % name)
        return f"Hello {name!r}" + b'bytes'.decode() or os.sep
print(len([1, 2]), True, None, __name__)
PY
$pygmentize -f rtf -O style=colorful -o "$out/pygments.rtf" sample.py
note pygments.rtf "$pygments_version" "pygmentize -f rtf -O style=colorful (more than 15 colours)"

abiword_version="abiword $(abiword --version 2>/dev/null | head -1)"
printf '<html><body><p>AbiWord <b>bold</b> and <u>underline</u>.</p><p>Second</p></body></html>' > abi.html
abiword --to=rtf -o abi.rtf abi.html >/dev/null 2>&1
cp abi.rtf "$out/abiword.rtf"
note abiword.rtf "$abiword_version" "abiword --to=rtf from HTML"

printf 'first line\nsecond line\n\nlast\n' > lf.txt
cp lf.txt "$out/plain-lf.txt"
note plain-lf.txt "printf" "LF line ends"
cp lf.txt crlf.txt && unix2dos -q crlf.txt && cp crlf.txt "$out/plain-crlf.txt"
note plain-crlf.txt "$(unix2dos --version | head -1)" "unix2dos"
cp lf.txt cr.txt && unix2mac -q cr.txt && cp cr.txt "$out/plain-cr.txt"
note plain-cr.txt "$(unix2mac --version | head -1)" "unix2mac"
