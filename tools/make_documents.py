# -*- coding: utf-8 -*-
"""Writes the five Word 97-2003 templates.

    DOC75  application of an employee for individual-income-tax deductions
    DOC76  tax accounting policy, main text (edition applied from 2018)
    DOC77  list of tax registers with the rules for filling them in
           (made from the register list, one entry per workbook that the
           catalogue offers)
    DOC78  order adopting the tax accounting policy (one page)
    DOC79  tax accounting policy, main text (edition applied from 2022)

Each is written as flat OpenDocument text in a temporary folder and
converted by LibreOffice ("MS Word 97" filter); the page count of the
LibreOffice layout is then recorded in each file's summary information.  Facts that are not known
here (names, dates, amounts, rates) are left as blanks "____" to fill in.
"""

import os
import re
import shutil
import struct
import subprocess
import tempfile

import fodt
from registers import COLUMN_SETS, REGISTERS, title_of

BLANK = "________________"
DATE_BLANK = "«____» ______________ 20____ г."


def P(text, style="text"):
    return ("p", style, text)


def TABLE(widths, rows, header_rows=1):
    return ("table", widths, rows, header_rows)


BREAK = ("break",)


# ---------------------------------------------------------------- DOC78

def order():
    return [
        P("Наименование налогоплательщика: %s" % BLANK, "center"),
        P("БИН: %s" % BLANK, "center"),
        P("ПРИКАЗ № ______", "title"),
        P("г. ____________%s%s" % (" " * 50, DATE_BLANK), "plain"),
        P("Об утверждении учетной политики для целей налогообложения",
          "subtitle"),
        P("В соответствии с Налоговым кодексом Республики Казахстан и в целях "
          "организации налогового учета ПРИКАЗЫВАЮ:"),
        P("1. Утвердить учетную политику для целей налогообложения "
          "(приложение 1 к настоящему приказу) и применять ее с %s"
          % DATE_BLANK, "item"),
        P("2. Утвердить формы налоговых регистров и правила их заполнения "
          "(приложение 2 к настоящему приказу).", "item"),
        P("3. Назначить ответственным за ведение налогового учета и "
          "составление налоговой отчетности: %s (должность, фамилия, "
          "инициалы)." % BLANK, "item"),
        P("4. Ответственному лицу ознакомить с настоящим приказом работников, "
          "участвующих в ведении налогового учета.", "item"),
        P("5. Контроль за исполнением настоящего приказа оставляю за собой.",
          "item"),
        P(""),
        P("Руководитель%s______________ / %s /" % (" " * 30, BLANK), "plain"),
        P("(подпись)" + " " * 30 + "(фамилия, инициалы)", "small"),
        P(""),
        P("С приказом ознакомлены:", "plain"),
        TABLE([6.0, 5.0, 3.5, 2.5],
              [["Должность", "Фамилия, инициалы", "Подпись", "Дата"]]
              + [["", "", "", ""] for _ in range(4)]),
    ]


# ---------------------------------------------------------- DOC76, DOC79

def _opening():
    """The first lines, the same in both editions of the policy."""
    return [
        P("Приложение 1\nк приказу № ______ от %s" % DATE_BLANK, "right"),
        P(""),
        P("УЧЕТНАЯ ПОЛИТИКА\nДЛЯ ЦЕЛЕЙ НАЛОГООБЛОЖЕНИЯ", "title"),
        P("%s\n(наименование налогоплательщика, БИН)" % BLANK, "center"),
    ]


def policy(year):
    blocks = _opening()
    blocks += [
        P("1. Общие положения", "h1"),
        P("1.1. Настоящая учетная политика для целей налогообложения "
          "(далее — учетная политика) определяет порядок ведения налогового "
          "учета налогоплательщиком %s (далее — организация) в соответствии "
          "с Налоговым кодексом Республики Казахстан." % BLANK),
        P("1.2. Учетная политика применяется с 1 января %d года. Изменения и "
          "дополнения в нее вносятся приказом руководителя организации." %
          year),
        P("1.3. По вопросам, не урегулированным настоящей учетной политикой, "
          "организация руководствуется налоговым законодательством "
          "Республики Казахстан, действующим на дату совершения операции."),
        P("1.4. Налоговый учет ведется на основании первичных документов и "
          "данных бухгалтерского учета. Для целей налогообложения "
          "используются налоговые регистры, формы которых и правила "
          "заполнения которых приведены в приложении 2 к приказу об "
          "утверждении учетной политики."),

        P("2. Формы и порядок составления налоговых регистров", "h1"),
        P("2.1. Организация ведет налоговые регистры по формам, утвержденным "
          "приложением 2 к приказу об утверждении учетной политики. Каждый "
          "налоговый регистр содержит общие реквизиты: ИИН/БИН "
          "налогоплательщика; фамилию, имя, отчество или наименование "
          "налогоплательщика; налоговый период."),
        P("2.2. Налоговые регистры ведутся в электронном виде и (или) на "
          "бумажном носителе: %s." % BLANK),
        P("2.3. Периодичность составления налоговых регистров: %s." % BLANK),
        P("2.4. Налоговые регистры подписываются лицами, указанными в разделе "
          "3, и хранятся в течение срока: %s." % BLANK),

        P("3. Лица, ответственные за ведение налогового учета", "h1"),
        P("3.1. Ведение налогового учета и составление налоговой отчетности "
          "возлагаются на должностных лиц, указанных в таблице."),
        TABLE([6.5, 6.0, 4.5],
              [["Участок налогового учета", "Должность",
                "Фамилия, инициалы"],
               ["Корпоративный подоходный налог", "", ""],
               ["Налог на добавленную стоимость", "", ""],
               ["Индивидуальный подоходный налог и социальный налог", "", ""],
               ["Налог на транспортные средства, земельный налог, налог на "
                "имущество", "", ""],
               ["Плата за эмиссии в окружающую среду", "", ""],
               ["", "", ""]]),

        P("4. Раздельный налоговый учет", "h1"),
        P("4.1. В случаях, когда налоговое законодательство требует ведения "
          "раздельного налогового учета, организация ведет его по следующим "
          "видам деятельности (объектам): %s." % BLANK),
        P("4.2. Порядок распределения доходов, расходов и налогов между "
          "видами деятельности: %s." % BLANK),

        P("5. Раздельный учет при недропользовании", "h1"),
        P("5.1. Применяется / не применяется (нужное подчеркнуть). При "
          "применении: перечень контрактов на недропользование и порядок "
          "ведения раздельного учета по ним: %s." % BLANK),

        P("6. Выбранные методы налогового учета", "h1"),
        P("6.1. Методы отнесения расходов на вычеты, выбранные "
          "организацией: %s." % BLANK),
        P("6.2. Метод отнесения в зачет сумм налога на добавленную "
          "стоимость: %s." % BLANK),
        P("6.3. Иные методы, выбор которых предоставлен налогоплательщику "
          "налоговым законодательством: %s." % BLANK),

        P("7. Операции хеджирования", "h1"),
        P("7.1. Осуществляются / не осуществляются (нужное подчеркнуть). "
          "Порядок налогового учета операций хеджирования: %s." % BLANK),

        P("8. Исламские ценные бумаги", "h1"),
        P("8.1. Выпускаются (приобретаются) / не выпускаются "
          "(не приобретаются) (нужное подчеркнуть). Порядок налогового учета: "
          "%s." % BLANK),

        P("9. Нормы амортизации фиксированных активов", "h1"),
        P("9.1. Для исчисления амортизационных отчислений организация "
          "применяет по каждой группе (подгруппе) фиксированных активов "
          "следующие нормы амортизации в пределах предельных норм, "
          "установленных налоговым законодательством:"),
        TABLE([2.5, 3.0, 8.0, 3.5],
              [["Группа", "Подгруппа", "Наименование фиксированных активов",
                "Норма амортизации, %"]]
              + [["", "", "", ""] for _ in range(8)]),

        P("10. Коды структурных подразделений", "h1"),
        P("10.1. Для порядковых номеров счетов-фактур, выписываемых "
          "структурными подразделениями, используются следующие коды:"),
        TABLE([8.5, 4.0, 4.5],
              [["Структурное подразделение", "Код", "Примечание"]]
              + [["", "", ""] for _ in range(5)]),

        P("11. Нумерация счетов-фактур", "h1"),
        P("11.1. Максимальное количество цифр в порядковом номере "
          "счета-фактуры: ______."),

        P("12. Заключительные положения", "h1"),
        P("12.1. Учетная политика применяется последовательно от одного "
          "налогового периода к другому. Изменения в учетную политику "
          "вносятся при изменении налогового законодательства, а также при "
          "изменении условий деятельности организации."),
        P("12.2. Ответственность за соблюдение учетной политики несут лица, "
          "указанные в разделе 3."),
        P(""),
        P("Главный бухгалтер%s______________ / %s /" % (" " * 24, BLANK),
          "plain"),
    ]
    return blocks


# ---------------------------------------------------------------- DOC77

GROUPS = [
    ("100.00", "Налоговые регистры к декларации по корпоративному "
               "подоходному налогу (форма 100.00)"),
    ("100.10", "Налоговые регистры к приложению 100.10"),
    ("300.00", "Налоговые регистры по налогу на добавленную стоимость "
               "(форма 300.00)"),
    ("200.00", "Налоговые регистры по индивидуальному подоходному налогу и "
               "социальному налогу (формы 200.00 — 200.04)"),
    ("700.00", "Налоговые регистры по налогу на транспортные средства, "
               "земельному налогу и налогу на имущество (форма 700.00)"),
    ("870.00", "Налоговый регистр по плате за эмиссии в окружающую среду "
               "(форма 870.00)"),
]


def _register_order(reg):
    # Registers in the order of their numbers (2.2 before 2.10).
    key = []
    for part in reg["number"].split(" ")[0].split("."):
        key.append((0, int(part)) if part.isdigit() else (1, part))
    return key


def _catalogue_registers():
    return [reg for reg in REGISTERS if reg["button"]]


def register_rules():
    regs = _catalogue_registers()
    blocks = [
        P("Приложение 2\nк приказу № ______ от %s" % DATE_BLANK, "right"),
        P(""),
        P("ПЕРЕЧЕНЬ НАЛОГОВЫХ РЕГИСТРОВ\nИ ПРАВИЛА ИХ ЗАПОЛНЕНИЯ", "title"),
        P("%s\n(наименование налогоплательщика, БИН)" % BLANK, "center"),

        P("1. Общие правила", "h1"),
        P("1.1. Налоговые регистры составляются на основании первичных "
          "документов и данных бухгалтерского учета по формам, приведенным в "
          "настоящем перечне. Формы налоговых регистров поставляются в виде "
          "рабочих книг Microsoft Excel."),
        P("1.2. Каждый налоговый регистр содержит общие реквизиты: ИИН/БИН "
          "налогоплательщика; фамилию, имя, отчество или наименование "
          "налогоплательщика; налоговый период. Реквизиты заполняются в "
          "заголовке регистра."),
        P("1.3. Суммы указываются в тенге с двумя знаками после запятой, "
          "даты — в формате ДД.ММ.ГГГГ. Графы нумеруются в строке под "
          "заголовком таблицы; при печати заголовок таблицы повторяется на "
          "каждой странице."),
        P("1.4. Строка «Итого» рассчитывается автоматически как сумма граф, "
          "содержащих денежные показатели. При добавлении строк их следует "
          "вставлять внутри таблицы, выше строки «Итого»."),
        P("1.5. Налоговый регистр подписывается ответственным лицом и "
          "главным бухгалтером с указанием даты подписания."),
        P("1.6. Порядок внесения исправлений в налоговые регистры: %s."
          % BLANK),

        P("2. Перечень налоговых регистров", "h1"),
    ]
    rows = [["№", "Форма", "Наименование налогового регистра", "Лист",
             "Файл"]]
    ordered = []
    for form, _ in GROUPS:
        group = sorted((r for r in regs if r["form"] == form),
                       key=_register_order)
        ordered.append((form, group))
        for reg in group:
            rows.append([str(len(rows)), reg["label"], title_of(reg),
                         ", ".join(s.strip() for s in reg["sheets"]
                                   if s not in reg["blank"]),
                         reg["file"]])
    blocks.append(TABLE([0.9, 2.6, 7.2, 2.6, 3.7], rows))

    blocks.append(BREAK)
    blocks.append(P("3. Правила заполнения налоговых регистров", "h1"))
    number = 0
    for (form, group), (_, heading) in zip(ordered, GROUPS):
        blocks.append(P(heading, "h1"))
        for reg in group:
            number += 1
            blocks += _rules_of(number, reg)
    blocks += [
        P(""),
        P("Главный бухгалтер%s______________ / %s /" % (" " * 24, BLANK),
          "plain"),
    ]
    return blocks


def _rules_of(number, reg):
    columns = COLUMN_SETS[reg["columns"]]
    sheets = [s.strip() for s in reg["sheets"] if s not in reg["blank"]]
    out = [
        P("3.%d. %s %s" % (number, reg["label"], title_of(reg)), "h2"),
        P("Файл «%s», %s «%s». Регистр заполняется по операциям налогового "
          "периода в хронологическом порядке; каждая операция записывается "
          "отдельной строкой." % (reg["file"],
                                  "листы" if len(sheets) > 1 else "лист",
                                  "», «".join(sheets))),
    ]
    summed = []
    for i, (heading, _, kind, rule) in enumerate(columns, 1):
        out.append(P("Графа %d «%s» — %s." % (i, heading, rule), "item"))
        if kind == "amount":
            summed.append(str(i))
    if summed:
        out.append(P("Строка «Итого» — итоги %s %s за налоговый период." %
                     ("граф" if len(summed) > 1 else "графы",
                      ", ".join(summed)), "item"))
    if "Справочники" in reg["sheets"]:
        out.append(P("Лист «Справочники» содержит список работников "
                     "(табельный номер, фамилия, имя, отчество, ИИН, "
                     "должность, даты приема и увольнения), на который "
                     "ссылаются записи регистра.", "item"))
    return out


# ---------------------------------------------------------------- DOC75

def deduction_application():
    return [
        P("Руководителю\n%s\n(наименование работодателя)\n%s\n"
          "(фамилия, инициалы руководителя)" % (BLANK, BLANK), "right"),
        P(""),
        P("от работника %s\n(фамилия, имя, отчество)" % BLANK, "right"),
        P("ИИН %s" % BLANK, "right"),
        P("должность %s" % BLANK, "right"),
        P(""),
        P("ЗАЯВЛЕНИЕ", "title"),
        P("о применении налоговых вычетов по индивидуальному подоходному "
          "налогу", "subtitle"),
        P("Прошу при исчислении индивидуального подоходного налога с моих "
          "доходов, начиная с ______________ 20____ г. (месяц), применять "
          "следующие налоговые вычеты:"),
        TABLE([1.0, 8.5, 3.5, 4.0],
              [["№", "Вид налогового вычета", "Сумма, тенге",
                "Подтверждающий документ"]]
              + [[str(i), "", "", ""] for i in range(1, 5)]),
        P("Подтверждаю, что указанные налоговые вычеты по другому месту "
          "работы (у другого налогового агента) не применяются."),
        P("Об изменении обстоятельств, влияющих на применение вычетов, "
          "обязуюсь письменно сообщить работодателю."),
        P("Приложение: копии подтверждающих документов на ______ л."),
        P(""),
        P("Дата: %s%sПодпись: ______________" % (DATE_BLANK, " " * 20),
          "plain"),
        P(""),
        P("Заявление принято:", "plain"),
        P("Бухгалтер ______________ / %s /   %s" % (BLANK, DATE_BLANK),
          "plain"),
        P("(подпись)" + " " * 20 + "(фамилия, инициалы)", "small"),
    ]


# resource number, title, content, fixed date of the file
DOCUMENTS = [
    (75, "Заявление на вычет по ИПН", deduction_application, "2018-01-01"),
    (76, "Учетная политика для целей налогообложения", lambda: policy(2018),
     "2018-01-01"),
    (77, "Перечень налоговых регистров и правила их заполнения",
     register_rules, "2018-01-01"),
    (78, "Приказ об утверждении учетной политики для целей "
         "налогообложения", order, "2018-01-01"),
    (79, "Учетная политика для целей налогообложения", lambda: policy(2022),
     "2022-01-01"),
]


def _soffice(profile, target, outdir, sources):
    subprocess.run(
        ["soffice", "-env:UserInstallation=" + profile, "--headless",
         "--convert-to", target, "--outdir", outdir] + sources,
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def _pdf_pages(path):
    with open(path, "rb") as f:
        pdf = f.read()
    # The root of the page tree counts all pages.
    return max(int(n) for n in re.findall(rb"/Count (\d+)", pdf))


def set_page_count(path, pages):
    """Records the page count in the summary information.

    LibreOffice's Word export leaves the page count out but writes the
    "last printed" time (zero) as an 8-byte FILETIME.  That property is
    turned into the page count (a 4-byte integer and 4 bytes of padding), so
    no offset and no stream length changes."""
    import olefile
    name = "\x05SummaryInformation"
    with olefile.OleFileIO(path, write_mode=True) as ole:
        data = bytearray(ole.openstream(name).read())
        section = struct.unpack_from("<I", data, 44)[0]
        count = struct.unpack_from("<I", data, section + 4)[0]
        for i in range(count):
            entry = section + 8 + 8 * i
            pid, offset = struct.unpack_from("<II", data, entry)
            if pid == PID_LASTPRINTED and struct.unpack_from(
                    "<I", data, section + offset)[0] == VT_FILETIME:
                struct.pack_into("<I", data, entry, PID_PAGECOUNT)
                struct.pack_into("<IiI", data, section + offset, VT_I4,
                                 pages, 0)
                ole.write_stream(name, bytes(data))
                return
    raise RuntimeError("%s: no place for the page count in the summary "
                       "information" % path)


PID_LASTPRINTED, PID_PAGECOUNT = 11, 14
VT_I4, VT_FILETIME = 3, 64


def write_all(out_dir):
    """Writes DOC75.doc ... DOC79.doc into out_dir; returns their paths and
    page counts."""
    work = tempfile.mkdtemp(prefix="korventa-docs-")
    try:
        sources = []
        for doc, title, make, date in DOCUMENTS:
            path = os.path.join(work, "DOC%d.fodt" % doc)
            with open(path, "w", encoding="utf-8") as f:
                f.write(fodt.render(make(), title, date))
            sources.append(path)
        # A private profile keeps this run apart from any office already
        # running for the user.
        profile = "file://" + os.path.join(work, "profile")
        _soffice(profile, "doc:MS Word 97", work, sources)
        docs = [os.path.join(work, "DOC%d.doc" % doc) for doc, _, _, _ in
                DOCUMENTS]
        pdf_dir = os.path.join(work, "pdf")
        _soffice(profile, "pdf", pdf_dir, docs)
        written = {}
        for doc, _, _, _ in DOCUMENTS:
            pages = _pdf_pages(os.path.join(pdf_dir, "DOC%d.pdf" % doc))
            source = os.path.join(work, "DOC%d.doc" % doc)
            set_page_count(source, pages)
            target = os.path.join(out_dir, "DOC%d.doc" % doc)
            shutil.copyfile(source, target)
            written[target] = pages
        return written
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    import sys
    for path, pages in write_all(sys.argv[1] if len(sys.argv) > 1
                                 else ".").items():
        print(path, pages, "pages")
