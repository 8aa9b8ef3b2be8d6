#include "catalogue/Catalogue.h"

#include "delivery/WorkingFolder.h"

namespace korventa {
namespace {

// Captions and file names are texts of their own: a file name is not always the caption
// with an extension (the "НР 300" page adds "ФНО 300", "НР 1.39.1" writes form 1.39.2).
constexpr CatalogueEntry kEntries[] = {
    {Page::TabSheet1, L"Button1", L"Приказ", {8, 16, 217, 25}, 0, L"DOC78", L"Приказ.doc"},
    {Page::TabSheet1, L"Button5", L"Основной текст Корвента", {8, 56, 217, 25}, 1, L"DOC76", L"Основной текст Корвента.doc"},
    {Page::TabSheet1, L"Button6", L"Правила к НР Корвента", {8, 96, 217, 25}, 2, L"DOC77", L"Правила к НР Корвента.doc"},
    {Page::TabSheet1, L"Button71", L"Заявление на вычет по ИПН", {8, 136, 217, 25}, 3, L"DOC75", L"Заявление на вычет по ИПН.doc"},
    {Page::TabSheet2, L"Button21", L"НР 1.01", {8, 16, 81, 25}, 0, L"DOC1", L"НР 1.01.xls"},
    {Page::TabSheet2, L"Button8", L"НР 1.02.1", {8, 56, 81, 25}, 1, L"DOC2", L"НР 1.02.1.xls"},
    {Page::TabSheet2, L"Button9", L"НР 1.02.2 ", {8, 96, 81, 25}, 2, L"DOC3", L"НР 1.02.2.xls"},
    {Page::TabSheet2, L"Button10", L"НР 1.06", {8, 216, 81, 25}, 3, L"DOC6", L"НР 1.06.xls"},
    {Page::TabSheet2, L"Button11", L"НР 1.07", {8, 256, 81, 25}, 4, L"DOC7", L"НР 1.07.xls"},
    {Page::TabSheet2, L"Button12", L"НР 1.08", {104, 16, 81, 25}, 5, L"DOC8", L"НР 1.08.xls"},
    {Page::TabSheet2, L"Button13", L"НР 1.09", {104, 56, 81, 25}, 6, L"DOC9", L"НР 1.09.xls"},
    {Page::TabSheet2, L"Button14", L"НР 1.04", {8, 176, 81, 25}, 7, L"DOC5", L"НР 1.04.xls"},
    {Page::TabSheet2, L"Button15", L"НР 1.10", {104, 96, 75, 25}, 8, L"DOC10", L"НР 1.10.xls"},
    {Page::TabSheet2, L"Button16", L"НР 1.11", {104, 136, 75, 25}, 9, L"DOC11", L"НР 1.11.xls"},
    {Page::TabSheet2, L"Button17", L"НР 1.14 Свод", {104, 176, 75, 25}, 10, L"DOC12", L"НР 1.14 Свод.xls"},
    {Page::TabSheet2, L"Button18", L"НР 1.14.1", {104, 216, 75, 25}, 11, L"DOC13", L"НР 1.14.1.xls"},
    {Page::TabSheet2, L"Button19", L"НР 1.14.2", {104, 256, 75, 25}, 12, L"DOC14", L"НР 1.14.2.xls"},
    {Page::TabSheet2, L"Button20", L"1.14.3 и 1.35", {208, 16, 75, 25}, 13, L"DOC15", L"НР 1.14.3 и 1.35.xls"},
    {Page::TabSheet2, L"Button22", L"НР 1.14.4", {208, 56, 75, 25}, 14, L"DOC16", L"НР 1.14.4.xls"},
    {Page::TabSheet2, L"Button23", L"НР 1.16", {208, 96, 75, 25}, 15, L"DOC17", L"НР 1.16.xls"},
    {Page::TabSheet2, L"Button24", L"НР 1.17", {208, 136, 75, 25}, 16, L"DOC18", L"НР 1.17.xls"},
    {Page::TabSheet2, L"Button25", L"НР 1.19", {208, 176, 75, 25}, 17, L"DOC19", L"НР 1.19.xls"},
    {Page::TabSheet2, L"Button51", L"НР 1.20", {208, 216, 75, 25}, 18, L"DOC20", L"НР 1.20.xls"},
    {Page::TabSheet2, L"Button52", L"НР 1.21", {208, 256, 75, 25}, 19, L"DOC21", L"НР 1.21.xls"},
    {Page::TabSheet2, L"Button56", L"НР 1.22", {304, 16, 75, 25}, 20, L"DOC22", L"НР 1.22.xls"},
    {Page::TabSheet2, L"Button57", L"НР 1.23. упр", {304, 56, 75, 25}, 21, L"DOC23", L"НР 1.23. упр.xls"},
    {Page::TabSheet2, L"Button58", L"НР 1.23", {304, 96, 75, 25}, 22, L"DOC24", L"НР 1.23.xls"},
    {Page::TabSheet2, L"Button3", L"НР 1.03", {8, 136, 83, 25}, 23, L"DOC4", L"НР 1.03.xls"},
    {Page::TabSheet2, L"Button72", L"НР 1.24", {304, 136, 75, 25}, 24, L"DOC25", L"НР 1.24.xls"},
    {Page::TabSheet2, L"Button73", L"НР 1.25", {304, 176, 75, 25}, 25, L"DOC26", L"НР 1.25.xls"},
    {Page::TabSheet2, L"Button74", L"НР 1.31", {304, 216, 75, 25}, 26, L"DOC27", L"НР 1.31.xls"},
    {Page::TabSheet2, L"Button75", L"НР 1.32", {304, 256, 75, 25}, 27, L"DOC28", L"НР 1.32.xls"},
    {Page::TabSheet2, L"Button76", L"НР 1.34", {400, 16, 75, 25}, 28, L"DOC29", L"НР 1.34.xls"},
    {Page::TabSheet2, L"Button77", L"НР 1.36", {400, 56, 75, 25}, 29, L"DOC30", L"НР 1.36.xls"},
    {Page::TabSheet2, L"Button78", L"НР 1.37", {400, 96, 75, 25}, 30, L"DOC31", L"НР 1.37.xls"},
    {Page::TabSheet2, L"Button79", L"НР 1.38", {400, 136, 75, 25}, 31, L"DOC32", L"НР 1.38.xls"},
    {Page::TabSheet2, L"Button80", L"НР 1.39 Свод", {400, 176, 75, 25}, 32, L"DOC33", L"НР 1.39 Свод.xls"},
    {Page::TabSheet2, L"Button81", L"НР 1.39.1", {400, 216, 75, 25}, 33, L"DOC35", L"НР 1.39.2.xls"},
    {Page::TabSheet2, L"Button82", L"НР 1.39.2", {400, 256, 75, 25}, 34, L"DOC34", L"НР 1.39.1.xls"},
    {Page::TabSheet2, L"Button83", L"НР 1.41", {488, 16, 75, 25}, 35, L"DOC36", L"НР 1.41.xls"},
    {Page::TabSheet2, L"Button84", L"НР 1.42", {488, 56, 75, 25}, 36, L"DOC37", L"НР 1.42.xls"},
    {Page::TabSheet2, L"Button85", L"НР 1.43", {488, 96, 75, 25}, 37, L"DOC38", L"НР 1.43.xls"},
    {Page::TabSheet2, L"Button86", L"НР 1.46.11", {488, 136, 75, 25}, 38, L"DOC39", L"НР 1.46.11, 100.12.xls"},
    {Page::TabSheet2, L"Button87", L"НР 1.50", {488, 176, 75, 25}, 39, L"DOC40", L"НР 1.50.xls"},
    {Page::TabSheet2, L"Button88", L"НР 1.52", {488, 216, 75, 25}, 40, L"DOC41", L"НР 1.52.xls"},
    {Page::TabSheet2, L"Button89", L"НР 1.52.А 1", {488, 256, 75, 25}, 41, L"DOC42", L"НР 1.52.А 1.xls"},
    {Page::TabSheet3, L"Button26", L"НР № 2.1", {16, 24, 75, 25}, 0, L"DOC63", L"НР 2.1 ФНО 300.xls"},
    {Page::TabSheet3, L"Button27", L"НР № 2.2", {16, 64, 75, 25}, 1, L"DOC67", L"НР 2.2 ФНО 300.xls"},
    {Page::TabSheet3, L"Button28", L"НР № 2.3", {16, 104, 75, 25}, 2, L"DOC68", L"НР 2.3 ФНО 300.xls"},
    {Page::TabSheet3, L"Button29", L"НР № 2.4", {16, 144, 75, 25}, 3, L"DOC69", L"НР 2.4 ФНО 300.xls"},
    {Page::TabSheet3, L"Button30", L"НР № 2.5", {16, 184, 75, 25}, 4, L"DOC70", L"НР 2.5 ФНО 300.xls"},
    {Page::TabSheet3, L"Button31", L"НР № 2.6", {16, 224, 75, 25}, 5, L"DOC71", L"НР 2.6 ФНО 300.xls"},
    {Page::TabSheet3, L"Button32", L"НР № 2.7", {112, 24, 75, 25}, 6, L"DOC72", L"НР 2.7 ФНО 300.xls"},
    {Page::TabSheet3, L"Button33", L"НР № 2.8", {112, 64, 75, 25}, 7, L"DOC73", L"НР 2.8 ФНО 300.xls"},
    {Page::TabSheet3, L"Button34", L"НР № 2.9", {112, 104, 75, 25}, 8, L"DOC74", L"НР 2.9 ФНО 300.xls"},
    {Page::TabSheet3, L"Button35", L"НР № 2.10", {112, 144, 75, 25}, 9, L"DOC64", L"НР 2.10 ФНО 300.xls"},
    {Page::TabSheet3, L"Button36", L"НР № 2.11", {112, 184, 75, 25}, 10, L"DOC65", L"НР 2.11 ФНО 300.xls"},
    {Page::TabSheet3, L"Button37", L"НР № 2.12", {112, 224, 75, 25}, 11, L"DOC66", L"НР 2.12 ФНО 300.xls"},
    {Page::TabSheet4, L"Button38", L"НР 200.02", {16, 56, 177, 25}, 0, L"DOC83", L"НР 200.02.xls"},
    {Page::TabSheet4, L"Button39", L"НР 200.00, 200.01, 200.03", {16, 16, 177, 25}, 1, L"DOC82", L"НР 200.00.xls"},
    {Page::TabSheet4, L"Button40", L"НР 870.00", {16, 136, 177, 25}, 2, L"DOC86", L"НР 870.00.xls"},
    {Page::TabSheet4, L"Button41", L"НР Транспорт", {200, 16, 177, 25}, 3, L"DOC85", L"НР Транспорт.xls"},
    {Page::TabSheet4, L"Button42", L"НР Имущество", {200, 56, 177, 25}, 4, L"DOC81", L"НР Имущество.xls"},
    {Page::TabSheet4, L"Button43", L"НР Зем. налог", {200, 96, 169, 25}, 5, L"DOC80", L"НР Зем. налог 700.1.xls"},
    {Page::TabSheet4, L"Button4", L"НР 200.04", {16, 96, 177, 25}, 6, L"DOC84", L"НР 200.04.xls"},
    {Page::TabSheet6, L"Button2", L"НР 1.10.01", {24, 24, 81, 25}, 0, L"DOC43", L"НР 1.10.01.xls"},
    {Page::TabSheet6, L"Button7", L"НР 1.10.02", {24, 64, 81, 25}, 1, L"DOC44", L"НР 1.10.02.xls"},
    {Page::TabSheet6, L"Button47", L"НР 1.10.03", {24, 104, 81, 25}, 2, L"DOC45", L"НР 1.10.03.xls"},
    {Page::TabSheet6, L"Button50", L"НР 1.10.04", {24, 144, 81, 25}, 3, L"DOC46", L"НР 1.10.04.xls"},
    {Page::TabSheet6, L"Button53", L"НР 1.10.05", {120, 24, 81, 25}, 4, L"DOC47", L"НР 1.10.05.xls"},
    {Page::TabSheet6, L"Button54", L"НР 1.10.06", {120, 64, 81, 25}, 5, L"DOC48", L"НР 1.10.06.xls"},
    {Page::TabSheet6, L"Button55", L"НР 1.10.07", {120, 104, 81, 25}, 6, L"DOC49", L"НР 1.10.07.xls"},
    {Page::TabSheet6, L"Button59", L"НР 1.10.08", {120, 144, 81, 25}, 7, L"DOC50", L"НР 1.10.08.xls"},
    {Page::TabSheet6, L"Button60", L"НР 1.10.09", {216, 24, 89, 25}, 8, L"DOC51", L"НР 1.10.09, 100.10.014.16.xls"},
    {Page::TabSheet6, L"Button61", L"НР 1.10.10", {216, 64, 89, 25}, 9, L"DOC52", L"НР 1.10.10.xls"},
    {Page::TabSheet6, L"Button62", L"НР 1.10.14 Свод", {216, 104, 89, 25}, 10, L"DOC53", L"НР 1.10.14 Свод.xls"},
    {Page::TabSheet6, L"Button63", L"НР 1.10.14.1", {216, 144, 89, 25}, 11, L"DOC54", L"НР 1.10.14.1-10.xls"},
    {Page::TabSheet6, L"Button64", L"НР 1.10.14.11", {320, 24, 81, 25}, 12, L"DOC55", L"НР 1.10.14.11.xls"},
    {Page::TabSheet6, L"Button65", L"НР 1.10.14.12-", {320, 64, 81, 25}, 13, L"DOC56", L"НР 1.10.14.12-18, 21.xls"},
    {Page::TabSheet6, L"Button66", L"НР 1.10.14.19", {320, 104, 81, 25}, 14, L"DOC57", L"НР 1.10.14.19.xls"},
    {Page::TabSheet6, L"Button67", L"НР 1.10.14.20", {320, 144, 81, 25}, 15, L"DOC58", L"НР 1.10.14.20.xls"},
    {Page::TabSheet6, L"Button68", L"НР 1.10.15", {416, 24, 81, 25}, 16, L"DOC59", L"НР 1.10.15.xls"},
    {Page::TabSheet6, L"Button69", L"НР 1.10.16", {416, 64, 81, 25}, 17, L"DOC60", L"НР 1.10.16.xls"},
    {Page::TabSheet6, L"Button70", L"НР 1.10.17", {416, 104, 81, 25}, 18, L"DOC61", L"НР 1.10.17.xls"},
    {Page::TabSheet6, L"Button44", L"НР 1.10.18", {416, 144, 81, 25}, 19, L"DOC62", L"НР 1.10.18.xls"},
};

}  // namespace

std::span<const CatalogueEntry> CatalogueEntries() { return kEntries; }

std::wstring TargetPath(const CatalogueEntry& entry) {
    return std::wstring(kWorkingFolder) + L'\\' + entry.targetFileName;
}

}  // namespace korventa
