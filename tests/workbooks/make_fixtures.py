#!/usr/bin/env python3
# Remakes the workbooks the table tests read, with the spreadsheets a
# laboratory and a store use (LibreOffice Calc and Gnumeric, from Debian):
#   tests/workbooks/make_fixtures.py
# Writes the flat OpenDocument sources (*.fods) and converts each with
# `soffice --headless --convert-to`, and the .ods it makes with `ssconvert`. The outputs are committed.
import os
import shutil
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

HEAD = '''<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:automatic-styles>
  <number:number-style style:name="N_space_percent">
   <number:number number:decimal-places="2" number:min-integer-digits="1"/><number:text> %</number:text>
  </number:number-style>
  <number:number-style style:name="N_sign_percent">
   <number:number number:decimal-places="1" number:min-integer-digits="1"/><number:text>%</number:text>
  </number:number-style>
  <number:percentage-style style:name="N_percentage">
   <number:number number:decimal-places="1" number:min-integer-digits="1"/><number:text>%</number:text>
  </number:percentage-style>
  <number:date-style style:name="N_date">
   <number:day number:style="long"/><number:text>/</number:text><number:month number:style="long"/>
   <number:text>/</number:text><number:year/>
  </number:date-style>
  <style:style style:name="ce_space_percent" style:family="table-cell" style:data-style-name="N_space_percent"/>
  <style:style style:name="ce_sign_percent" style:family="table-cell" style:data-style-name="N_sign_percent"/>
  <style:style style:name="ce_percentage" style:family="table-cell" style:data-style-name="N_percentage"/>
  <style:style style:name="ce_date" style:family="table-cell" style:data-style-name="N_date"/>
  <style:style style:name="ta_shown" style:family="table"><style:table-properties table:display="true"/></style:style>
  <style:style style:name="ta_hidden" style:family="table"><style:table-properties table:display="false"/></style:style>
 </office:automatic-styles>
 <office:body>
  <office:spreadsheet>
'''
TAIL = '''  </office:spreadsheet>
 </office:body>
</office:document>
'''


def text(t, span=1):
    spanned = f' table:number-columns-spanned="{span}"' if span > 1 else ''
    cell = f'<table:table-cell office:value-type="string"{spanned}><text:p>{t}</text:p></table:table-cell>'
    return cell + '<table:covered-table-cell/>' * (span - 1)


def number(v, style=None):
    styled = f' table:style-name="{style}"' if style else ''
    return f'<table:table-cell{styled} office:value-type="float" office:value="{v}"><text:p>{v}</text:p></table:table-cell>'


def percentage(v):
    return (f'<table:table-cell table:style-name="ce_percentage" office:value-type="percentage" '
            f'office:value="{v}"><text:p>{v}</text:p></table:table-cell>')


def date(iso):
    return (f'<table:table-cell table:style-name="ce_date" office:value-type="date" '
            f'office:date-value="{iso}"><text:p>{iso}</text:p></table:table-cell>')


def empty(n=1):
    return '<table:table-cell/>' * n


def row(*cells):
    return '<table:table-row>' + ''.join(cells) + '</table:table-row>\n'


def table(name, rows, hidden=False):
    style = 'ta_hidden' if hidden else 'ta_shown'
    return f'   <table:table table:name="{name}" table:style-name="{style}">\n' + ''.join(rows) + '   </table:table>\n'


HEADER = ['Amostra', 'Argila', 'P', 'K', 'MO', 'Al', 'Ca', 'Mg', 'CTC', 'V', 'Rendimento']


def sample(name, clay, p, k, mo, al, ca, mg, ctc, v):
    # MO in a format that writes " %" after the number, clay with "%" after
    # it: both are the numbers as typed. V is a real percentage (0.633 shown
    # as 63.3%). P as a laboratory's program that computes in single
    # precision stores it.
    return row(text(name), number(clay, 'ce_sign_percent'), number(p), number(k), number(mo, 'ce_space_percent'),
               number(al), number(ca), number(mg), number(ctc), percentage(v), number(30))


def lab_book():
    header = row(*[text(h) for h in HEADER])
    old = [header, sample('VELHA', 40, 9, 50, 2.5, 0.2, 3, 1, 9, 0.5)]
    laudos = [
        row(text('Laboratório de Análise de Solos — laudos de novembro de 2025')),
        row(empty(5), text('Complexo sortivo (cmolc/dm³)', span=4), empty(2)),
        header,
        sample('A1', 35, '5.300000190734863', 40, 3.8, 0.4, 2.1, 0.8, 8.5, 0.633),
        # Ca and Mg alike: the writers repeat the cell.
        sample('A2', 22, 12, 60, 2.4, 0.1, 1.5, 1.5, 7.2, 0.55),
        row(empty()),
        row(empty()),
        row(text('Métodos: P e K Mehlich-1; MO Walkley-Black')),
    ]
    cover = [row(text('Laudos do cliente Fazenda Boa Vista')), row(text('Cliente: João da Silva | Município: Cruz das Almas'))]
    return HEAD + table('Capa', cover) + table('Antigo', old, hidden=True) + table('Laudos', laudos) + TAIL


def price_book():
    head = ['Produto', 'N (%)', 'P2O5 (%)', 'K2O (%)', 'Saco (kg)', 'Preço do saco (R$)', 'Data']
    prices = [
        row(text('Tabela de preços — Cooperativa Mista, novembro de 2025')),
        row(*[text(h) for h in head]),
        row(text('Ureia'), percentage(0.45), number(0), number(0), number(50), number(150.5), date('2025-11-30')),
        row(text('Superfosfato simples'), percentage(0), number(18), number(0), number(50), number(98), date('2025-11-28')),
    ]
    notes = [row(text('Preços à vista, sujeitos a alteração'))]
    return HEAD + table('Preços', prices) + table('Notas', notes) + TAIL


def convert(source, target, folder):
    with tempfile.TemporaryDirectory() as out:
        if target.endswith('-gnumeric.xlsx') or target.endswith('-gnumeric.xls'):
            kind = 'Gnumeric_Excel:xlsx2' if target.endswith('.xlsx') else 'Gnumeric_Excel:excel_biff8'
            subprocess.run(['ssconvert', '--export-type=' + kind, source, os.path.join(out, 'x')], check=True,
                           stderr=subprocess.DEVNULL)
            made = os.path.join(out, 'x')
        else:
            ext = target.rsplit('.', 1)[1]
            filter_ = {'xlsx': 'xlsx:Calc MS Excel 2007 XML', 'xls': 'xls:MS Excel 97', 'ods': 'ods',
                    'csv': 'csv:Text - txt - csv (StarCalc):59,34,76,1', 'pdf': 'pdf'}[ext]
            profile = 'file://' + os.path.join(out, 'profile')
            subprocess.run(['soffice', '-env:UserInstallation=' + profile, '--headless', '--convert-to', filter_,
                            '--outdir', out, source], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            made = os.path.join(out, os.path.basename(source).rsplit('.', 1)[0] + '.' + ext)
        shutil.copyfile(made, os.path.join(folder, target))


def main():
    for name, content in (('laudo', lab_book()), ('precos', price_book())):
        source = os.path.join(HERE, name + '.fods')
        with open(source, 'w', encoding='utf-8') as f:
            f.write(content)
        for ext in ('xlsx', 'xls', 'ods'):
            convert(source, f'{name}.{ext}', HERE)
        # Gnumeric reads the OpenDocument workbook LibreOffice wrote.
        for ext in ('xlsx', 'xls'):
            convert(os.path.join(HERE, name + '.ods'), f'{name}-gnumeric.{ext}', HERE)
    convert(os.path.join(HERE, 'precos.fods'), 'precos.csv', HERE)
    convert(os.path.join(HERE, 'laudo.fods'), 'laudo.pdf', HERE)


if __name__ == '__main__':
    main()
