# -*- coding: utf-8 -*-
"""A small writer of flat OpenDocument text (.fodt) for the Word templates.

A document is a list of blocks:
    ("p", style, text)            a paragraph; style is a key of PARAGRAPH
    ("table", widths_cm, rows, header_rows)
                                  a ruled table; rows are lists of cell texts
    ("break",)                    a page break
The result is converted to Word 97-2003 by LibreOffice (see make_documents).
"""

from xml.sax.saxutils import escape

# name: (font size pt, bold, alignment, space before cm, space after cm,
#        first-line indent cm)
PARAGRAPH = {
    "text":     (12, False, "justify", 0.0, 0.15, 1.0),
    "plain":    (12, False, "start", 0.0, 0.1, 0.0),
    "center":   (12, False, "center", 0.0, 0.1, 0.0),
    "right":    (12, False, "end", 0.0, 0.0, 0.0),
    "title":    (14, True, "center", 0.3, 0.3, 0.0),
    "subtitle": (12, True, "center", 0.1, 0.3, 0.0),
    "h1":       (12, True, "start", 0.4, 0.2, 0.0),
    "h2":       (12, True, "start", 0.25, 0.1, 0.0),
    "item":     (12, False, "justify", 0.0, 0.1, 0.0),
    "small":    (9, False, "center", 0.0, 0.1, 0.0),
    "cell":     (10, False, "start", 0.0, 0.0, 0.0),
    "cellhead": (10, True, "center", 0.0, 0.0, 0.0),
}

_NS = (
    'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
    'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
    'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" '
    'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" '
    'xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0" '
    'xmlns:dc="http://purl.org/dc/elements/1.1/" '
    'office:version="1.2" '
    'office:mimetype="application/vnd.oasis.opendocument.text"'
)


def _paragraph_styles():
    out = []
    for name, (size, bold, align, before, after, indent) in PARAGRAPH.items():
        weight = ' fo:font-weight="bold"' if bold else ""
        out.append(
            '<style:style style:name="%s" style:family="paragraph">'
            '<style:paragraph-properties fo:text-align="%s" '
            'fo:margin-top="%.2fcm" fo:margin-bottom="%.2fcm" '
            'fo:text-indent="%.2fcm"/>'
            '<style:text-properties style:font-name="Times New Roman" '
            'fo:font-size="%dpt"%s fo:language="ru" fo:country="RU"/>'
            '</style:style>' % (name, align, before, after, indent, size,
                                weight))
        # The same paragraph starting a new page.
        out.append(
            '<style:style style:name="%s_break" style:family="paragraph" '
            'style:parent-style-name="%s"><style:paragraph-properties '
            'fo:break-before="page"/></style:style>' % (name, name))
    return "".join(out)


def _para(style, text):
    # Runs of blanks survive as text:s, line breaks inside a cell as line-break.
    parts = []
    for i, line in enumerate(text.split("\n")):
        if i:
            parts.append("<text:line-break/>")
        chunks = line.split("  ")
        parts.append(escape(chunks[0]))
        for chunk in chunks[1:]:
            parts.append('<text:s text:c="2"/>' + escape(chunk))
    return '<text:p text:style-name="%s">%s</text:p>' % (style, "".join(parts))


def render(blocks, title, date="2018-01-01", footer_page_numbers=True):
    """Returns the .fodt text of the given blocks; `date` (YYYY-MM-DD) is
    the fixed creation and modification date of the document."""
    body = []
    auto = []
    pending_break = False
    for n, block in enumerate(blocks):
        kind = block[0]
        if kind == "break":
            pending_break = True
            continue
        if kind == "p":
            style = block[1] + ("_break" if pending_break else "")
            body.append(_para(style, block[2]))
        elif kind == "table":
            widths, rows, header_rows = block[1], block[2], block[3]
            name = "T%d" % n
            auto.append(
                '<style:style style:name="%s" style:family="table">'
                '<style:table-properties style:width="%.2fcm" '
                'table:align="left" fo:margin-top="0.1cm" '
                'fo:margin-bottom="0.2cm"%s/></style:style>'
                % (name, sum(widths), ' fo:break-before="page"'
                   if pending_break else ""))
            cols = []
            for i, w in enumerate(widths):
                auto.append(
                    '<style:style style:name="%s.C%d" style:family='
                    '"table-column"><style:table-column-properties '
                    'style:column-width="%.2fcm"/></style:style>'
                    % (name, i, w))
                cols.append('<table:table-column table:style-name="%s.C%d"/>'
                            % (name, i))
            out = ['<table:table table:name="%s" table:style-name="%s">'
                   % (name, name), "".join(cols)]
            for r, row in enumerate(rows):
                head = r < header_rows
                cells = []
                for text in row:
                    cells.append(
                        '<table:table-cell table:style-name="Cell" '
                        'office:value-type="string">%s</table:table-cell>'
                        % _para("cellhead" if head else "cell", text))
                row_xml = "<table:table-row>%s</table:table-row>" % "".join(
                    cells)
                if head:
                    row_xml = ("<table:table-header-rows>%s"
                               "</table:table-header-rows>" % row_xml)
                out.append(row_xml)
            out.append("</table:table>")
            body.append("".join(out))
        else:
            raise ValueError("unknown block %r" % (kind,))
        pending_break = False

    footer = ""
    if footer_page_numbers:
        footer = ('<style:footer><text:p text:style-name="small">'
                  '<text:page-number text:select-page="current"/></text:p>'
                  '</style:footer>')
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        '<office:document %s>'
        '<office:meta>'
        '<meta:generator>Korventa tools</meta:generator>'
        '<dc:title>%s</dc:title>'
        '<dc:language>ru-RU</dc:language>'
        '<meta:creation-date>%sT00:00:00</meta:creation-date>'
        '<dc:date>%sT00:00:00</dc:date>'
        '</office:meta>'
        '<office:font-face-decls><style:font-face style:name="Times New Roman"'
        ' svg:font-family="&apos;Times New Roman&apos;"'
        ' style:font-family-generic="roman" style:font-pitch="variable"/>'
        '</office:font-face-decls>'
        '<office:styles>'
        '<style:default-style style:family="paragraph">'
        '<style:text-properties style:font-name="Times New Roman" '
        'fo:font-size="12pt" fo:language="ru" fo:country="RU"/>'
        '</style:default-style>%s'
        '</office:styles>'
        '<office:automatic-styles>'
        '<style:style style:name="Cell" style:family="table-cell">'
        '<style:table-cell-properties fo:padding="0.08cm" '
        'fo:border="0.5pt solid #000000"/></style:style>%s'
        '<style:page-layout style:name="A4"><style:page-layout-properties '
        'fo:page-width="21cm" fo:page-height="29.7cm" '
        'style:print-orientation="portrait" fo:margin-top="1.5cm" '
        'fo:margin-bottom="1.2cm" fo:margin-left="2.5cm" '
        'fo:margin-right="1.5cm"/><style:footer-style>'
        '<style:header-footer-properties fo:min-height="0.6cm"/>'
        '</style:footer-style></style:page-layout>'
        '</office:automatic-styles>'
        '<office:master-styles><style:master-page style:name="Standard" '
        'style:page-layout-name="A4">%s</style:master-page>'
        '</office:master-styles>'
        '<office:body><office:text>%s</office:text></office:body>'
        '</office:document>\n'
        % (_NS, escape(title), date, date, _paragraph_styles(), "".join(auto), footer,
           "".join(body)))
