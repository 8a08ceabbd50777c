#!/usr/bin/env python3
"""Regenerates templates/formula-samples/formula-cases.{fods,xls}: the evaluator's table of
cases. Each row holds a formula (B, in OpenFormula syntax below, {C} {D} {E} naming the
row's inputs), its inputs (C:E) and, in F, the result LibreOffice computes for it (read
back from LibreOffice's CSV, so the expected values are LibreOffice's, not ours).
Needs LibreOffice."""
import html, os, subprocess, sys, tempfile

# (formula, inputs, note[, excel]): an input is a number, a text, True/False, or None
# (empty); `excel`, where given, is Excel's result where LibreOffice's differs (an error as
# its text), and stands in F for LibreOffice's.
CASES = [
    ("{C}+{D}*2", (1.5, 2, None), "arithmetic precedence"),
    ("{C}-{D}/4", (10, 3, None), "division"),
    ("{C}^2+-{D}", (3, 4, None), "power and unary minus"),
    ("{C}%*200", (15, None, None), "percent"),
    ("{C}/{D}", (1, 0, None), "#DIV/0!"),
    ("{C}+{D}", (1, "abc", None), "text in arithmetic: #VALUE!"),
    ("{C}+{D}", (1, "2.5", None), "numeric text in arithmetic"),
    ("{C}&{D}&{E}", ("甲", 12.5, None), "concatenation"),
    ("{C}&\"\"", (0.1 + 0.2, None, None), "15 significant digits"),
    ("{C}={D}", ("ABC", "abc", None), "texts compare without case"),
    ("{C}<{D}", (5, "1", None), "numbers before texts"),
    ("{C}<>{D}", (None, 0, None), "empty equals 0"),
    ("{C}=\"\"", (None, None, None), "empty equals empty text"),
    ("SUM({C};{D};{E})", (1, "x", True), "SUM of cells ignores text and booleans"),
    ("SUM([.C{r}:.E{r}])*1", (2, 3, "4"), "SUM of a range"),
    ("SUMIF([.C{r}:.E{r}];\">2\")", (2, 3, 4), "SUMIF with a comparison"),
    ("SUMIF([.C{r}:.E{r}];\"a*\";[.C{r}:.E{r}])", ("ab", "b", "ac"), "SUMIF wildcard, no numbers"),
    ("COUNTIF([.C{r}:.E{r}];\"<>\")", (1, None, "x"), "COUNTIF non-empty"),
    ("COUNTIF([.C{r}:.E{r}];3)", (3, "3", 3), "COUNTIF number"),
    ("SUMPRODUCT([.C{r}:.D{r}];[.D{r}:.E{r}])", (2, 3, 4), "SUMPRODUCT"),
    ("PRODUCT([.C{r}:.E{r}])", (2, None, 4), "PRODUCT skips empty"),
    ("COUNT([.C{r}:.E{r}])", (1, "2", True), "COUNT counts numbers only"),
    ("COUNTA([.C{r}:.E{r}])", (1, None, "x"), "COUNTA"),
    ("AVERAGE([.C{r}:.E{r}])", (1, 2, "x"), "AVERAGE"),
    ("AVERAGE([.C{r}:.E{r}])", (None, "x", None), "AVERAGE of nothing"),
    ("MIN([.C{r}:.E{r}])+MAX([.C{r}:.E{r}])", (-2, 7, 3), "MIN and MAX"),
    ("ABS({C})+INT({D})", (-2.5, -3.5, None), "ABS, INT rounds down"),
    ("TRUNC({C};1)+TRUNC({D})", (-2.57, 3.9, None), "TRUNC"),
    ("MOD({C};{D})", (-7, 3, None), "MOD takes the divisor's sign"),
    ("MOD({C};{D})", (7, 0, None), "MOD by 0"),
    ("ROUND({C};2)", (1.005, None, None), "ROUND half away from zero, as a decimal"),
    ("ROUND({C};2)", (-2.675, None, None), "ROUND of a negative half"),
    ("ROUND({C};-2)", (-1250, None, None), "ROUND to hundreds"),
    ("ROUNDUP({C};1)", (-1.21, None, None), "ROUNDUP away from zero"),
    ("ROUNDDOWN({C};1)", (1.29, None, None), "ROUNDDOWN"),
    ("ROUND({C}*1.13;2)", (2301.77, None, None), "tax-inclusive"),
    ("IF({C}=\"\";\"\";{C}&\"（收）\")", ("王五", None, None), "IF echoing the buyer"),
    ("IF({C}=\"\";\"\";{C}&\"（收）\")", (None, None, None), "IF with no buyer"),
    ("IF({C};{D})", (0, 5, None), "IF without an else"),
    ("AND({C};{D})", (1, True, None), "AND"),
    ("OR({C};{D})", (0, False, None), "OR"),
    ("NOT({C})", (0, None, None), "NOT"),
    ("ISBLANK({C})", (None, None, None), "ISBLANK"),
    ("ISNUMBER({C})", ("1", None, None), "ISNUMBER of text"),
    ("ISERROR({C}/{D})", (1, 0, None), "ISERROR"),
    ("IFERROR({C}/{D};\"无\")", (1, 0, None), "IFERROR"),
    ("TEXT({C};\"0.00\")", (1234.5, None, None), "TEXT"),
    ("TEXT({C};\"#,##0\")", (1234567.891, None, None), "TEXT with separators"),
    ("VALUE({C})+1", ("12.5", None, None), "VALUE"),
    ("LEN({C})", ("锯材码单", None, None), "LEN"),
    ("LEFT({C};2)&RIGHT({C})&MID({C};2;2)", ("abcdef", None, None), "LEFT RIGHT MID"),
    ("MID({C};9;2)", ("abc", None, None), "MID past the end"),
    ("CONCATENATE({C};\"-\";{D})", ("x", 2, None), "CONCATENATE"),
    ("TRIM({C})", ("  a   b  ", None, None), "TRIM"),
    ("REPT({C};3)", ("ab", None, None), "REPT"),
    ("DATE({C};{D};{E})", (2024, 2, 29), "DATE"),
    ("DATE({C};{D};{E})", (2023, 14, 0), "DATE rolls over"),
    ("YEAR({C})*10000+MONTH({C})*100+DAY({C})", (45351, None, None), "YEAR MONTH DAY"),
    ("MONTH({C})*100+DAY({C})", (61, None, None), "1900-03-01, after 1900-02-29"),
    ("TODAY()-INT(NOW())", (None, None, None), "TODAY and NOW"),

    # Text functions and format codes of the bills (issue 28b). A fourth item is Excel's
    # answer where it differs from LibreOffice's: LibreOffice writes the Chinese decimal
    # point as 点, its DOLLAR in its own locale's currency and CODE and CHAR in its own
    # code page, and reads no 年月日 date (Err:502); Chinese Excel keeps ".", writes ¥,
    # counts in code page 936 and reads such dates.
    ("SUBSTITUTE({C};\"零角\";\"零\")", ("壹佰元零角壹分", None, None), "SUBSTITUTE"),
    ("SUBSTITUTE({C};\"a\";\"x\";2)", ("banana", None, None), "SUBSTITUTE one instance"),
    ("FIND(\".\";CONCATENATE({C};\".0\"))", (100.01, None, None), "FIND in a number's text"),
    ("FIND(\"A\";{C})", ("abc", None, None), "FIND is case-sensitive: #VALUE!"),
    ("FIND(\"b\";{C};3)", ("abcb", None, None), "FIND from a start"),
    ("SEARCH(\"B?\";{C})", ("aabcd", None, None), "SEARCH wildcard, no case"),
    ("SEARCH(\"c*e\";{C})", ("abcde", None, None), "SEARCH star"),
    ("SEARCH(\"~*\";{C})", ("a*b", None, None), "SEARCH literal star"),
    ("REPLACE({C};2;3;\"XY\")", ("abcdef", None, None), "REPLACE"),
    ("LENB({C})", ("松木a", None, None), "LENB counts Chinese as two"),
    ("LEFTB({C};3)&\"|\"", ("中文", None, None), "LEFTB through half a character"),
    ("RIGHTB({C};3)", ("a中文", None, None), "RIGHTB through half a character"),
    ("MIDB({C};2;4)", ("a中文b", None, None), "MIDB"),
    ("FINDB(\"文\";{C})", ("a中文", None, None), "FINDB counts bytes"),
    ("SEARCHB(\"B\";{C})", ("中ab", None, None), "SEARCHB"),
    ("REPLACEB({C};3;2;\"木\")", ("a中文", None, None), "REPLACEB through halves"),
    ("FIXED({C};1)", (-1234.567, None, None), "FIXED"),
    ("FIXED({C};-2;1)&\"|\"", (123456, None, None), "FIXED to hundreds, no commas"),
    ("DOLLAR({C})", (-1234.5, None, None), "DOLLAR in yuan", "¥-1,234.50"),
    ("CHAR({C})", (65, None, None), "CHAR"),
    ("CHAR({C})", (45217, None, None), "CHAR of code page 936", "啊"),
    ("CODE({C})", ("中", None, None), "CODE of code page 936", 54992),
    ("CODE({C})", ("A", None, None), "CODE"),
    ("CLEAN({C})", ("a\tb", None, None), "CLEAN"),
    ("T({C})&T({D})", ("x", 5, None), "T"),
    ("N({C})+N({D})+N({E})", (5, True, "x"), "N"),
    ("PROPER({C})", ("hello wORLD 2nd", None, None), "PROPER"),
    ("DATEVALUE({C})", ("2024-3-5", None, None), "DATEVALUE"),
    ("DATEVALUE({C})", ("2024年3月5日", None, None), "DATEVALUE Chinese", 45356),
    ("DATEVALUE({C})", ("2023-2-29", None, None), "DATEVALUE of no day", "#VALUE!"),
    ("TIMEVALUE({C})", ("13:30:15", None, None), "TIMEVALUE"),
    ("TIMEVALUE({C})", ("1:30 PM", None, None), "TIMEVALUE PM"),
    ("DATEVALUE({C})", ("2024/3/5", None, None), "DATEVALUE with slashes, Chinese Windows' short date", 45356),
    ("DATEVALUE({C})", ("3/5/2024", None, None), "DATEVALUE month first"),
    ("DATEVALUE({C})", ("24-3-5 10:30", None, None), "DATEVALUE two-digit year, time dropped", 45356),
    ("TIMEVALUE({C})", ("下午1:30", None, None), "TIMEVALUE 下午", 0.5625),
    ("TIMEVALUE({C})", ("13时30分", None, None), "TIMEVALUE 时分", 0.5625),
    ("TIMEVALUE({C})", ("2024-3-5 6:00", None, None), "TIMEVALUE of a date and time"),
    ("TIMEVALUE({C})", ("25:61", None, None), "TIMEVALUE runs minutes over"),
    ("COM.MICROSOFT.CONCAT([.C{r}:.E{r}];\"!\")", ("a", None, 2), "CONCAT"),
    ("COM.MICROSOFT.TEXTJOIN(\"-\";1;[.C{r}:.E{r}])", ("a", None, 2), "TEXTJOIN skips empty"),
    ("COM.MICROSOFT.TEXTJOIN(\"-\";0;[.C{r}:.E{r}])", ("a", None, 2), "TEXTJOIN keeps empty"),
    ("TEXT({C};\"[DBNum2][$-804]0角0分\")", (2, None, None), "digits among literals"),
    ("TEXT({C};\"[DBNum2][$-804]0元00\")", (117, None, None), "digits among literals"),
    ("TEXT({C};\"# ?/?\")", (13, None, None), "fraction of a whole"),
    ("TEXT({C};\"# ??/??\")", (3.14159, None, None), "fraction"),
    ("TEXT({C};\"?/8\")", (0.3, None, None), "fraction in eighths"),
    ("TEXT({C};\"0.00E+00\")", (12345, None, None), "scientific"),
    ("TEXT({C};\"0.0%\")", (0.1234, None, None), "percent"),
    ("TEXT(MEDIAN([.C{r}:.E{r}]);\"0.00\")", (12.4, 47.19, None),
     "TEXT rounds the 15 digits Excel shows (29.795), not the binary 29.79499…", "29.80"),
    ("TEXT({C};\"[>=1000]#,##0;0.0\")", (12.34, None, None), "conditional sections"),
    ("{C}&\"\"", (1234567.891234567, None, None), "& of a number: 15 digits"),
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]G/通用格式元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]G/通用格式角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]G/通用格式分\");\"零角\";\"零\");\"零分\";\"\")", (100.01, None, None), "amount in capitals as Chinese Excel writes it (G/通用格式, which LibreOffice lacks)", "壹佰元零壹分"),
    # The amount in capitals, three idioms of the bills; Excel's texts beside each (the
    # financial capitals by Excel's [DBNum2] rules, a minus kept as "-", the point as ".").
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]General元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]General角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]General分\");\"零角\";\"零\");\"零分\";\"\")", (0, None, None), "amount in capitals, SUBSTITUTE/TEXT/MID", "零元整"),
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]General元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]General角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]General分\");\"零角\";\"零\");\"零分\";\"\")", (0.05, None, None), "amount in capitals, SUBSTITUTE/TEXT/MID", "零元零伍分"),
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]General元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]General角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]General分\");\"零角\";\"零\");\"零分\";\"\")", (0.5, None, None), "amount in capitals, SUBSTITUTE/TEXT/MID", "零元伍角"),
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]General元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]General角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]General分\");\"零角\";\"零\");\"零分\";\"\")", (1, None, None), "amount in capitals, SUBSTITUTE/TEXT/MID", "壹元整"),
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]General元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]General角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]General分\");\"零角\";\"零\");\"零分\";\"\")", (10, None, None), "amount in capitals, SUBSTITUTE/TEXT/MID", "壹拾元整"),
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]General元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]General角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]General分\");\"零角\";\"零\");\"零分\";\"\")", (100.01, None, None), "amount in capitals, SUBSTITUTE/TEXT/MID", "壹佰元零壹分"),
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]General元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]General角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]General分\");\"零角\";\"零\");\"零分\";\"\")", (2301.77, None, None), "amount in capitals, SUBSTITUTE/TEXT/MID", "贰仟叁佰零壹元柒角柒分"),
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]General元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]General角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]General分\");\"零角\";\"零\");\"零分\";\"\")", (10000, None, None), "amount in capitals, SUBSTITUTE/TEXT/MID", "壹万元整"),
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]General元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]General角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]General分\");\"零角\";\"零\");\"零分\";\"\")", (100000.1, None, None), "amount in capitals, SUBSTITUTE/TEXT/MID", "壹拾万元壹角"),
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]General元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]General角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]General分\");\"零角\";\"零\");\"零分\";\"\")", (1234567.89, None, None), "amount in capitals, SUBSTITUTE/TEXT/MID", "壹佰贰拾叁万肆仟伍佰陆拾柒元捌角玖分"),
    ("SUBSTITUTE(SUBSTITUTE(TEXT(INT({C});\"[DBNum2][$-804]General元\"&IF(INT({C})={C};\"整\";\"\"))&TEXT(MID({C};FIND(\".\";{C}&\".0\")+1;1);\"[DBNum2][$-804]General角\")&TEXT(MID({C};FIND(\".\";{C}&\".0\")+2;1);\"[DBNum2][$-804]General分\");\"零角\";\"零\");\"零分\";\"\")", (-308, None, None), "amount in capitals, SUBSTITUTE/TEXT/MID", "-叁佰零捌元整"),
    ("IF({C}<0;\"负\";\"\")&TEXT(TRUNC(ABS({C}));\"[DBNum2][$-804]General\")&\"元\"&IF(ISERR(FIND(\".\";ABS({C})));\"整\";TEXT(MID(TEXT(ABS({C});\"0.00\");LEN(TEXT(ABS({C});\"0.00\"))-1;1);\"[DBNum2][$-804]General\")&\"角\"&TEXT(RIGHT(TEXT(ABS({C});\"0.00\"));\"[DBNum2][$-804]General\")&\"分\")", (0, None, None), "amount in capitals, 负/TEXT/INT/MID", "零元整"),
    ("IF({C}<0;\"负\";\"\")&TEXT(TRUNC(ABS({C}));\"[DBNum2][$-804]General\")&\"元\"&IF(ISERR(FIND(\".\";ABS({C})));\"整\";TEXT(MID(TEXT(ABS({C});\"0.00\");LEN(TEXT(ABS({C});\"0.00\"))-1;1);\"[DBNum2][$-804]General\")&\"角\"&TEXT(RIGHT(TEXT(ABS({C});\"0.00\"));\"[DBNum2][$-804]General\")&\"分\")", (0.05, None, None), "amount in capitals, 负/TEXT/INT/MID", "零元零角伍分"),
    ("IF({C}<0;\"负\";\"\")&TEXT(TRUNC(ABS({C}));\"[DBNum2][$-804]General\")&\"元\"&IF(ISERR(FIND(\".\";ABS({C})));\"整\";TEXT(MID(TEXT(ABS({C});\"0.00\");LEN(TEXT(ABS({C});\"0.00\"))-1;1);\"[DBNum2][$-804]General\")&\"角\"&TEXT(RIGHT(TEXT(ABS({C});\"0.00\"));\"[DBNum2][$-804]General\")&\"分\")", (0.5, None, None), "amount in capitals, 负/TEXT/INT/MID", "零元伍角零分"),
    ("IF({C}<0;\"负\";\"\")&TEXT(TRUNC(ABS({C}));\"[DBNum2][$-804]General\")&\"元\"&IF(ISERR(FIND(\".\";ABS({C})));\"整\";TEXT(MID(TEXT(ABS({C});\"0.00\");LEN(TEXT(ABS({C});\"0.00\"))-1;1);\"[DBNum2][$-804]General\")&\"角\"&TEXT(RIGHT(TEXT(ABS({C});\"0.00\"));\"[DBNum2][$-804]General\")&\"分\")", (1, None, None), "amount in capitals, 负/TEXT/INT/MID", "壹元整"),
    ("IF({C}<0;\"负\";\"\")&TEXT(TRUNC(ABS({C}));\"[DBNum2][$-804]General\")&\"元\"&IF(ISERR(FIND(\".\";ABS({C})));\"整\";TEXT(MID(TEXT(ABS({C});\"0.00\");LEN(TEXT(ABS({C});\"0.00\"))-1;1);\"[DBNum2][$-804]General\")&\"角\"&TEXT(RIGHT(TEXT(ABS({C});\"0.00\"));\"[DBNum2][$-804]General\")&\"分\")", (10, None, None), "amount in capitals, 负/TEXT/INT/MID", "壹拾元整"),
    ("IF({C}<0;\"负\";\"\")&TEXT(TRUNC(ABS({C}));\"[DBNum2][$-804]General\")&\"元\"&IF(ISERR(FIND(\".\";ABS({C})));\"整\";TEXT(MID(TEXT(ABS({C});\"0.00\");LEN(TEXT(ABS({C});\"0.00\"))-1;1);\"[DBNum2][$-804]General\")&\"角\"&TEXT(RIGHT(TEXT(ABS({C});\"0.00\"));\"[DBNum2][$-804]General\")&\"分\")", (100.01, None, None), "amount in capitals, 负/TEXT/INT/MID", "壹佰元零角壹分"),
    ("IF({C}<0;\"负\";\"\")&TEXT(TRUNC(ABS({C}));\"[DBNum2][$-804]General\")&\"元\"&IF(ISERR(FIND(\".\";ABS({C})));\"整\";TEXT(MID(TEXT(ABS({C});\"0.00\");LEN(TEXT(ABS({C});\"0.00\"))-1;1);\"[DBNum2][$-804]General\")&\"角\"&TEXT(RIGHT(TEXT(ABS({C});\"0.00\"));\"[DBNum2][$-804]General\")&\"分\")", (2301.77, None, None), "amount in capitals, 负/TEXT/INT/MID", "贰仟叁佰零壹元柒角柒分"),
    ("IF({C}<0;\"负\";\"\")&TEXT(TRUNC(ABS({C}));\"[DBNum2][$-804]General\")&\"元\"&IF(ISERR(FIND(\".\";ABS({C})));\"整\";TEXT(MID(TEXT(ABS({C});\"0.00\");LEN(TEXT(ABS({C});\"0.00\"))-1;1);\"[DBNum2][$-804]General\")&\"角\"&TEXT(RIGHT(TEXT(ABS({C});\"0.00\"));\"[DBNum2][$-804]General\")&\"分\")", (10000, None, None), "amount in capitals, 负/TEXT/INT/MID", "壹万元整"),
    ("IF({C}<0;\"负\";\"\")&TEXT(TRUNC(ABS({C}));\"[DBNum2][$-804]General\")&\"元\"&IF(ISERR(FIND(\".\";ABS({C})));\"整\";TEXT(MID(TEXT(ABS({C});\"0.00\");LEN(TEXT(ABS({C});\"0.00\"))-1;1);\"[DBNum2][$-804]General\")&\"角\"&TEXT(RIGHT(TEXT(ABS({C});\"0.00\"));\"[DBNum2][$-804]General\")&\"分\")", (100000.1, None, None), "amount in capitals, 负/TEXT/INT/MID", "壹拾万元壹角零分"),
    ("IF({C}<0;\"负\";\"\")&TEXT(TRUNC(ABS({C}));\"[DBNum2][$-804]General\")&\"元\"&IF(ISERR(FIND(\".\";ABS({C})));\"整\";TEXT(MID(TEXT(ABS({C});\"0.00\");LEN(TEXT(ABS({C});\"0.00\"))-1;1);\"[DBNum2][$-804]General\")&\"角\"&TEXT(RIGHT(TEXT(ABS({C});\"0.00\"));\"[DBNum2][$-804]General\")&\"分\")", (1234567.89, None, None), "amount in capitals, 负/TEXT/INT/MID", "壹佰贰拾叁万肆仟伍佰陆拾柒元捌角玖分"),
    ("IF({C}<0;\"负\";\"\")&TEXT(TRUNC(ABS({C}));\"[DBNum2][$-804]General\")&\"元\"&IF(ISERR(FIND(\".\";ABS({C})));\"整\";TEXT(MID(TEXT(ABS({C});\"0.00\");LEN(TEXT(ABS({C});\"0.00\"))-1;1);\"[DBNum2][$-804]General\")&\"角\"&TEXT(RIGHT(TEXT(ABS({C});\"0.00\"));\"[DBNum2][$-804]General\")&\"分\")", (-308, None, None), "amount in capitals, 负/TEXT/INT/MID", "负叁佰零捌元整"),
    ("TEXT({C};\"[DBNum2][$-804]General\")", (0, None, None), "amount in capitals, TEXT [DBNum2]", "零"),
    ("TEXT({C};\"[DBNum2][$-804]General\")", (0.05, None, None), "amount in capitals, TEXT [DBNum2]", "零.零伍"),
    ("TEXT({C};\"[DBNum2][$-804]General\")", (0.5, None, None), "amount in capitals, TEXT [DBNum2]", "零.伍"),
    ("TEXT({C};\"[DBNum2][$-804]General\")", (1, None, None), "amount in capitals, TEXT [DBNum2]", "壹"),
    ("TEXT({C};\"[DBNum2][$-804]General\")", (10, None, None), "amount in capitals, TEXT [DBNum2]", "壹拾"),
    ("TEXT({C};\"[DBNum2][$-804]General\")", (100.01, None, None), "amount in capitals, TEXT [DBNum2]", "壹佰.零壹"),
    ("TEXT({C};\"[DBNum2][$-804]General\")", (2301.77, None, None), "amount in capitals, TEXT [DBNum2]", "贰仟叁佰零壹.柒柒"),
    ("TEXT({C};\"[DBNum2][$-804]General\")", (10000, None, None), "amount in capitals, TEXT [DBNum2]", "壹万"),
    ("TEXT({C};\"[DBNum2][$-804]General\")", (100000.1, None, None), "amount in capitals, TEXT [DBNum2]", "壹拾万.壹"),
    ("TEXT({C};\"[DBNum2][$-804]General\")", (1234567.89, None, None), "amount in capitals, TEXT [DBNum2]", "壹佰贰拾叁万肆仟伍佰陆拾柒.捌玖"),
    ("TEXT({C};\"[DBNum2][$-804]General\")", (-308, None, None), "amount in capitals, TEXT [DBNum2]", "-叁佰零捌"),
    # Excel's evaluation rules, and the statistics, rounding, date and information functions.
    # A formula in {=…} is an array formula; a fourth element is Excel's answer where it
    # differs from LibreOffice's, and replaces it. MAXIFS, MINIFS, IFS and SWITCH are left to
    # the unit tests: LibreOffice cannot write them into an .xls.
    ("{C}-{D}-{E}", (0.5, 0.4, 0.1), "a last - that is zero to 15 digits gives 0"),
    ("{C}-SUM([.D{r}:.E{r}])", (0.3, 0.1, 0.2), "a total less the sum of its parts is 0"),
    ("({C}-{D}-{E})*1", (0.5, 0.4, 0.1), "zero only for a last + or -", -2.7755575615628914e-17),
    ("{C}*1", ("12%", None, None), "a percentage text in arithmetic"),
    ("\"0%\"*1+{C}", ("1,200", None, None), "texts with % and thousands in arithmetic"),
    ("{C}*2", ("¥3", None, None), "an amount with ¥ reads as a number in Chinese Excel", 6),
    ("{C}+0", ("2026-12-08", None, None), "an ISO date text in arithmetic"),
    ("{C}+0", ("2026/12/8", None, None), "a y/m/d date text in arithmetic", 46364),
    ("{C}*24", ("12:30", None, None), "a time text in arithmetic"),
    ("{C}+0", ("2026年12月8日", None, None), "a Chinese long date text in Chinese Excel", 46364),
    ("{C}*1", ("(1,200)", None, None), "a negative in parentheses in arithmetic"),
    ("COUNTIF([.C{r}:.E{r}];CONCATENATE(\">\";0.1+0.2))", (0.3, 1, 2), "a criterion built from a number"),
    ("COUNTIF([.C{r}:.E{r}];\"12%\")", (0.12, "12%", 3), "a percentage criterion"),
    ("COUNTIF([.C{r}:.C{r}];{D})", (0.1 + 0.2, 0.3, None), "a criterion equal to 15 digits"),
    ("({C}={D})+({C}>{D})*10", (0.1 + 0.2, 0.3, None), "numbers compare to 15 digits"),
    ("IFERROR({C};\"x\")", (None, None, None), "IFERROR of an empty cell is 0"),
    ("IFERROR({C};\"x\")&\"\"", ("a", None, None), "IFERROR gives the value"),
    ("{=SUM(IF([.C{r}:.E{r}]>3;[.C{r}:.E{r}];0))}", (2, 5, 7), "array formula: SUM of IF"),
    ("{=MAX(IF([.C{r}:.E{r}]<6;[.C{r}:.E{r}]))}", (2, 5, 7), "array formula: MAX of IF"),
    ("{=COUNT(IF([.C{r}:.E{r}]>3;[.C{r}:.E{r}]))}", (2, 5, 7), "array formula: COUNT of IF"),
    ("{=AVERAGE(IF([.C{r}:.E{r}]>3;[.C{r}:.E{r}]))}", (2, 5, 7), "array formula: AVERAGE of IF"),
    ("{=AND([.C{r}:.E{r}]>1)}", (2, 5, 7), "array formula: AND of a comparison"),
    ("{=OR([.C{r}:.E{r}]>6)}", (2, 5, 7), "array formula: OR of a comparison"),
    ("{=SUMPRODUCT(([.C{r}:.E{r}]>3)*[.C{r}:.E{r}])}", (2, 5, 7), "array formula: SUMPRODUCT"),
    ("{=MIN(IF([.C{r}:.E{r}]>3;[.C{r}:.E{r}]))}", (2, 5, 7), "array formula: MIN of IF"),
    ("SUM(IF([.C{r}:.E{r}]>3;1;0))", (2, 5, 7), "no array formula: implicit intersection"),
    ("IF([.C1:.C300]>3;{D};0)*2", (5, 4, None), "a column range read in the formula's row"),
    ("{=SUM(IF(ISNUMBER([.C{r}:.E{r}]);[.C{r}:.E{r}]*2))}", (2, "x", 7),
     "array formula: ISNUMBER over a range"),
    ("{=SUM(LEN([.C{r}:.E{r}]))}", ("甲乙", 123, None), "array formula: LEN over a range"),
    ("SUMPRODUCT(ISNUMBER([.C{r}:.E{r}])*ROUND([.C{r}:.E{r}];0))", (2.4, None, 7.5),
     "SUMPRODUCT takes its arguments element by element"),
    ("{=SUM(IF(ISBLANK([.C{r}:.E{r}]);1;0))}", (None, 0, None), "array formula: ISBLANK over a range"),
    ("SUMPRODUCT(--ISBLANK([.C{r}:.E{r}]))", ("x", None, 3), "SUMPRODUCT of ISBLANK"),
    ("SUMPRODUCT(--ISNUMBER([.C{r}:.E{r}]))", (1, "2", None), "SUMPRODUCT of ISNUMBER"),
    ("{=SUM(ISERROR(1/[.C{r}:.E{r}])*1)}", (0, 2, None), "array formula: ISERROR over a range"),
    ("{=SUM(ISTEXT([.C{r}:.E{r}])+ISLOGICAL([.C{r}:.E{r}])*10+ISNONTEXT([.C{r}:.E{r}])*100)}", ("a", True, None), "array formula: ISTEXT ISLOGICAL ISNONTEXT"),
    ("{=SUM(ISERR(1/[.C{r}:.E{r}])+ISNA(IF([.C{r}:.E{r}]=2;NA();0))*10)}", (0, 2, None), "array formula: ISERR and ISNA"),
    ("SUMPRODUCT(--ISEVEN([.C{r}:.E{r}]+0))", (2, 3, None), "ISEVEN of an array"),
    ("ISBLANK([.C1:.C300])", (None, 1, None), "ISBLANK of a column read in the formula's row"),
    ("COM.MICROSOFT.CEILING({C};0.5)+COM.MICROSOFT.FLOOR({D};0.2)", (2.1, 1.35, None), "CEILING and FLOOR"),
    ("COM.MICROSOFT.CEILING({C};-2)*10+COM.MICROSOFT.FLOOR({D};-2)", (-2.5, -2.5, None), "CEILING, FLOOR of negatives"),
    ("({C}-{D}-{E})", (0.5, 0.4, 0.1), "a last - in brackets keeps its remainder", -2.7755575615628914e-17),
    # LibreOffice's own CEILING and FLOOR go into the file as CEILING.MATH and FLOOR.MATH.
    ("CEILING({C};{D})*100+FLOOR({C};{D})", (-2.5, 2, None), "CEILING.MATH, FLOOR.MATH of a negative"),
    ("CEILING({C};{D};1)*100+FLOOR({C};{D};1)", (-2.5, 2, None), "CEILING.MATH, FLOOR.MATH away from zero"),
    ("CEILING({C})+FLOOR({D})", (2.1, -1.5, None), "CEILING.MATH, FLOOR.MATH to whole numbers"),
    ("MROUND({C};3)+QUOTIENT({D};4)", (10, -9, None), "MROUND and QUOTIENT"),
    ("EVEN({C})*10+ODD({D})", (1.5, -2, None), "EVEN and ODD"),
    ("SUMSQ([.C{r}:.E{r}])", (1, 2, "x"), "SUMSQ"),
    ("LN({C})+LOG({D};2)+LOG10({E})", (2.718281828459045, 8, 1000), "LN LOG LOG10"),
    ("EXP({C})+FACT({D})", (0, 5, None), "EXP and FACT"),
    ("GCD({C};{D})*1000+LCM({C};{E})", (12, 18, 8), "GCD and LCM"),
    ("RANDBETWEEN({C};{C})+INT(RAND())", (4, None, None), "RAND and RANDBETWEEN"),
    ("ROUND(SIN({C})+COS({C})+TAN({D})+ATAN2(1;1)+DEGREES(PI());9)", (0.5, 0.25, None),
     "trigonometry"),
    ("SUMIFS([.C{r}:.E{r}];[.C{r}:.E{r}];\">1\";[.C{r}:.E{r}];\"<7\")", (2, 5, 7), "SUMIFS"),
    ("COUNTIFS([.C{r}:.E{r}];\">=2\";[.C{r}:.E{r}];\"<>5\")", (2, 5, 7), "COUNTIFS"),
    ("AVERAGEIF([.C{r}:.E{r}];\">2\")", (2, 5, 7), "AVERAGEIF"),
    ("AVERAGEIFS([.C{r}:.E{r}];[.C{r}:.E{r}];\"<7\")", (2, 5, 7), "AVERAGEIFS"),
    ("SUBTOTAL(9;[.C{r}:.E{r}])+SUBTOTAL(102;[.C{r}:.E{r}])", (2, "x", 7), "SUBTOTAL"),
    ("COUNTBLANK([.C{r}:.E{r}])", (1, None, ""), "COUNTBLANK counts empty texts"),
    ("LARGE([.C{r}:.E{r}];1)*100+SMALL([.C{r}:.E{r}];2)", (2, 5, 7), "LARGE and SMALL"),
    ("RANK({D};[.C{r}:.E{r}])*10+RANK({D};[.C{r}:.E{r}];1)", (2, 5, 7), "RANK"),
    ("MEDIAN([.C{r}:.E{r}];10)", (2, 5, 7), "MEDIAN of an even count"),
    ("MODE([.C{r}:.E{r}];{E})", (2, 5, 7), "MODE"),
    ("ROUND(STDEV([.C{r}:.E{r}])+STDEVP([.C{r}:.E{r}])+VAR([.C{r}:.E{r}])+VARP([.C{r}:.E{r}]);9)",
     (2, 5, 7), "STDEV STDEVP VAR VARP"),
    ("MAXA([.C{r}:.E{r}])+MINA([.C{r}:.E{r}])*10+AVERAGEA([.C{r}:.E{r}])", (-1, True, "x"),
     "MAXA MINA AVERAGEA"),
    ("WEEKDAY({C})*100+WEEKDAY({C};2)*10+WEEKDAY({C};3)", (46364, None, None), "WEEKDAY"),
    ("WEEKNUM({C})*100+WEEKNUM({C};2)", (46364, None, None), "WEEKNUM"),
    ("HOUR({C})*10000+MINUTE({C})*100+SECOND({C})", (46364.52083912037, None, None),
     "HOUR MINUTE SECOND"),
    ("TIME({C};{D};{E})*86400", (25, 61, -1), "TIME rolls over"),
    ("DATEDIF({C};{D};\"Y\")*10000+DATEDIF({C};{D};\"YM\")*100+DATEDIF({C};{D};\"MD\")",
     (45351, 46364, None), "DATEDIF"),
    ("DATEDIF({C};{D};\"YD\")*10000+DATEDIF({C};{D};\"M\")", (45351, 46364, None),
     "DATEDIF in days and months"),
    ("EDATE({C};{D})", (45322, 1, None), "EDATE to a shorter month"),
    ("EOMONTH({C};{D})", (46364, -10, None), "EOMONTH"),
    ("NETWORKDAYS({C};{D};{E})", (46357, 46371, 46364), "NETWORKDAYS with a holiday"),
    ("WORKDAY({C};{D})", (46364, -7, None), "WORKDAY backwards"),
    ("DAYS360({C};{D})*1000+DAYS({D};{C})", (45351, 46364, None), "DAYS360 and DAYS"),
    ("ISEVEN({C})+ISODD({D})*10+ISNONTEXT({E})*100", (-2.5, 3, "x"), "ISEVEN ISODD ISNONTEXT"),
    ("ISREF({C})+TYPE({C})*10+TYPE({D})*100", ("x", True, None), "ISREF and TYPE"),
    ("ERROR.TYPE({C}/{D})", (1, 0, None), "ERROR.TYPE"),
    ("IFNA(NA();{C})", ("无", None, None), "IFNA"),
    ("XOR({C};{D};{E})", (True, 1, 0), "XOR"),

    # Lookup and reference functions.
    ("VLOOKUP({C};[.C{r}:.E{r}];3;0)", ("甲", 2, "乙"), "VLOOKUP exact, third column"),
    ("VLOOKUP(\"b\";{\"a\";1|\"B\";2|\"c\";3};2;0)", (None, None, None), "VLOOKUP exact ignores case"),
    ("VLOOKUP(2.5;{1;\"x\"|2;\"y\"|3;\"z\"};2)", (None, None, None), "VLOOKUP sorted: last not above"),
    ("VLOOKUP(0;{1;\"x\"|2;\"y\"};2)", (None, None, None), "VLOOKUP sorted, below the first: #N/A"),
    ("VLOOKUP(\"q\";{\"a\";1};2;0)", (None, None, None), "VLOOKUP not found: #N/A"),
    ("VLOOKUP({C};[.C{r}:.E{r}];4;0)", (1, 2, 3), "VLOOKUP past the table: #REF!", "#REF!"),
    ("VLOOKUP({C};[.C{r}:.E{r}];0;0)", (1, 2, 3), "VLOOKUP column 0: #VALUE!", "#VALUE!"),
    ("VLOOKUP(\"a?c\";{\"abd\";1|\"abc\";2};2;0)", (None, None, None), "VLOOKUP wildcard ?", 2),
    ("HLOOKUP({D};[.C{r}:.E{r}];1;0)", (5, 7, 9), "HLOOKUP finds in the row"),
    ("HLOOKUP(8;{5;7;9|\"a\";\"b\";\"c\"};2)", (None, None, None), "HLOOKUP sorted, second row"),
    ("MATCH({D};[.C{r}:.E{r}];0)", ("x", "y", "z"), "MATCH exact"),
    ("MATCH(\"*班*\";[.C{r}:.E{r}];0)", ("甲", "夜班组", "乙"), "MATCH wildcard *"),
    ("MATCH(\"~*\";[.C{r}:.E{r}];0)", ("a", "*", "b"), "MATCH ~ takes * literally"),
    ("MATCH(6;[.C{r}:.E{r}])", (1, 5, 10), "MATCH 1, sorted rising"),
    ("MATCH(6;[.C{r}:.E{r}];-1)", (10, 5, 1), "MATCH -1, sorted falling"),
    ("MATCH(11;[.C{r}:.E{r}];-1)", (10, 5, 1), "MATCH -1, above all: #N/A"),
    ("LOOKUP(6;[.C{r}:.E{r}];{\"a\";\"b\";\"c\"})", (1, 5, 10), "LOOKUP vector form"),
    ("LOOKUP(2;{1;\"one\"|2;\"two\"|3;\"three\"})", (None, None, None), "LOOKUP array form, last column"),
    ("INDEX([.C{r}:.E{r}];1;2)", ("a", "b", "c"), "INDEX row and column"),
    ("INDEX([.C{r}:.E{r}];3)", ("a", "b", "c"), "INDEX of one row takes the column"),
    ("INDEX({1;2|3;4};2;1)", (None, None, None), "INDEX of an array"),
    ("INDEX([.C{r}:.E{r}];2;1)", ("a", "b", "c"), "INDEX past the range: #REF!", "#REF!"),
    ("SUM(INDEX([.C{r}:.E{r}];1;0))", (1, 2, 3), "INDEX column 0: the whole row"),
    ("ROW()*1000+COLUMN()", (None, None, None), "ROW and COLUMN of the formula's cell"),
    ("ROW([.D7])+COLUMN([.E7:.E9])", (None, None, None), "ROW and COLUMN of a reference"),
    ("ROWS([.C2:.E9])*10+COLUMNS([.C2:.E9])", (None, None, None), "ROWS and COLUMNS"),
    ("ROWS({1;2;3|4;5;6})", (None, None, None), "ROWS of an array"),
    ("SUM(OFFSET([.C{r}];0;1;1;2))", (1, 2, 3), "OFFSET with height and width"),
    ("OFFSET([.C{r}];0;2)", (1, 2, 3), "OFFSET to one cell"),
    ("OFFSET([.C{r}];-70000;0)", (1, 2, 3), "OFFSET off the sheet: #REF!", "#REF!"),
    ("INDIRECT(\"D\"&ROW())", (1, "五", 3), "INDIRECT A1"),
    ("SUM(INDIRECT(\"$C$\"&ROW()&\":E\"&ROW()))", (1, 2, 3), "INDIRECT of a range", 6),
    ("INDIRECT(\"cases!E\"&ROW())", (1, 2, "表"), "INDIRECT with the sheet", "表"),
    ("INDIRECT(\"R\"&ROW()&\"C4\";0)", (1, "右", 3), "INDIRECT R1C1"),
    ("INDIRECT(\"RC[2]\";0)", (1, 2, 9), "INDIRECT R1C1 relative"),
    ("INDIRECT(\"A1B\")", (None, None, None), "INDIRECT of no reference: #REF!"),
    ("ADDRESS(3;4)", (None, None, None), "ADDRESS absolute"),
    ("ADDRESS(3;28;4)", (None, None, None), "ADDRESS relative, two letters"),
    ("ADDRESS(3;4;2;0)", (None, None, None), "ADDRESS R1C1"),
    ("ADDRESS(1;1;1;1;\"资料\")", (None, None, None), "ADDRESS with a sheet", "资料!$A$1"),
    ("SUMPRODUCT(TRANSPOSE({1;2;3});{1|2|3})", (None, None, None), "TRANSPOSE"),
    ("VLOOKUP({C};[.C{r}:.E{r}];2;0)&\"|\"", ("k", None, 1), "VLOOKUP of an empty cell: empty text"),
    ("VLOOKUP({C};[.C{r}:.E{r}];2;0)", ("k", None, 1), "VLOOKUP of an empty cell: 0", 0),
    ("MATCH(\"5\";[.C{r}:.E{r}];0)", (5, "5", 6), "MATCH a text, not the number", 2),
    ("MATCH({D};[.C:.C];0)", (None, 84, None), "MATCH in a whole column"),
    ("LOOKUP(7;[.C{r}:.E{r}];[.E{r}])", (1, 5, 10), "LOOKUP reads past its result vector"),
    ("VLOOKUP(2.5;{1;\"x\"|2;\"y\"};2;)", (None, None, None), "VLOOKUP with FALSE left empty: exact"),
    ("MATCH(6;[.C{r}:.E{r}];)", (1, 5, 10), "MATCH with its type left empty: exact"),
    ("ROW(OFFSET([.C{r}];-70000;0))", (None, None, None), "ROW of an error", "#REF!"),
    # A date without a year is the current year's in Excel.
    ("DATEVALUE({C})-DATE(YEAR(TODAY());12;8)", ("12-8", None, None), "DATEVALUE without a year", 0),
    ("DATEVALUE({C})-DATE(YEAR(TODAY());12;8)", ("12/8", None, None), "DATEVALUE of m/d", 0),
    ("DATEVALUE({C})-DATE(YEAR(TODAY());12;8)", ("8-Dec", None, None), "DATEVALUE of a month's name", 0),
    # INDIRECT of the names below (NAMES), which span the first cases' inputs. A number
    # after a formula with & is given, as the table would take LibreOffice's for a text; a
    # sheet's name after its sheet LibreOffice's INDIRECT does not read (it writes "cases.").
    ("VLOOKUP(10;INDIRECT(\"价格表\");2;0)", (None, None, None), "INDIRECT of a workbook's name"),
    ("SUM(INDIRECT(\"价\"&{C}))", ("格表", None, None), "INDIRECT of a name built by &", 23.5),
    ("INDIRECT({C})*2", ("本页", None, None), "INDIRECT of a sheet's name, not the workbook's"),
    ("INDIRECT(\"cases!本页\")+1", (None, None, None), "INDIRECT of a sheet's name with the sheet", 11),
    ("INDIRECT(\"无此名\")", (None, None, None), "INDIRECT of no name: #REF!"),
]

# Defined names of the table, for INDIRECT: (name, range, whether the sheet's own).
# The sheet's 本页 hides the workbook's.
NAMES = [("价格表", "$cases.$C$1:.$E$3", False), ("本页", "$cases.$C$2", True),
         ("本页", "$cases.$C$3", False)]

ODS_HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<!-- The evaluator's table of cases, written by tools/make_formula_cases.py: B the formula,
     C:E its inputs, F the result LibreOffice computes, G what the case shows. -->
<office:document
    xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
    xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
    xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
    xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
    office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:body>
  <office:spreadsheet>
   <table:table table:name="cases">
"""
ODS_TAIL = """   {sheet_names}</table:table>
   {book_names}
  </office:spreadsheet>
 </office:body>
</office:document>
"""


def value_cell(v):
    if v is None:
        return "<table:table-cell/>"
    if isinstance(v, bool):
        b = "true" if v else "false"
        return (f'<table:table-cell office:value-type="boolean" office:boolean-value="{b}">'
                f"<text:p>{b.upper()}</text:p></table:table-cell>")
    if isinstance(v, (int, float)):
        return (f'<table:table-cell office:value-type="float" office:value="{v!r}">'
                f"<text:p>{v!r}</text:p></table:table-cell>")
    return (f'<table:table-cell office:value-type="string"><text:p>{html.escape(v)}</text:p>'
            "</table:table-cell>")


# An error is kept as a formula that gives it: a file has no error constants of its own.
ERRORS = {"#DIV/0!": "1/0", "#VALUE!": "&quot;a&quot;+1", "#N/A": "NA()", "#NUM!": "SQRT(-1)",
          "#REF!": "#REF!"}


def expected_cell(text, formula):
    """LibreOffice's CSV value as a constant of the right kind (its booleans are 1 and 0,
    its dates MM/DD/YYYY; TEXT gives texts that read as numbers)."""
    if formula.startswith("TEXT(") or "&" in formula:
        return value_cell(text)
    try:
        return value_cell(float(text))
    except ValueError:
        pass
    if text in ("TRUE", "FALSE"):
        return value_cell(text == "TRUE")
    if text in ERRORS:
        return f'<table:table-cell table:formula="of:={ERRORS[text]}"/>'
    parts = text.split("/")
    if len(parts) == 3 and all(p.isdigit() for p in parts):
        import datetime
        day = datetime.date(int(parts[2]), int(parts[0]), int(parts[1]))
        return value_cell(float((day - datetime.date(1899, 12, 30)).days))
    return value_cell(text)


def write(path, expected):
    out = [ODS_HEAD]
    for i, (formula, inputs, note, *excel) in enumerate(CASES):
        r = i + 1
        array = formula.startswith("{=")
        f = (formula[2:-1] if array else formula).replace("{C}", f"[.C{r}]").replace("{D}", f"[.D{r}]") \
                   .replace("{E}", f"[.E{r}]").replace("{r}", str(r))
        matrix = (' table:number-matrix-columns-spanned="1" table:number-matrix-rows-spanned="1"'
                  if array else "")
        cells = [value_cell(formula),
                 f'<table:table-cell table:formula="{html.escape("of:=" + f, quote=True)}"'
                 f"{matrix}/>"]
        cells += [value_cell(v) for v in inputs]
        if excel:
            if excel[0] in ERRORS:
                cells.append(f'<table:table-cell table:formula="of:={ERRORS[excel[0]]}"/>')
            else:
                cells.append(value_cell(excel[0]))
            if expected:
                note += f" (Excel's answer; LibreOffice gives {expected[i]})"
        else:
            cells.append(expected_cell(expected[i], formula) if expected else "<table:table-cell/>")
        cells.append(value_cell(note))
        out.append("    <table:table-row>" + "".join(cells) + "</table:table-row>\n")
    def names(local):
        ranges = "".join(f'<table:named-range table:name="{name}" table:base-cell-address='
                         f'"$cases.$A$1" table:cell-range-address="{area}"/>'
                         for name, area, own in NAMES if own == local)
        return f"<table:named-expressions>{ranges}</table:named-expressions>"
    out.append(ODS_TAIL.format(sheet_names=names(True), book_names=names(False)))
    with open(path, "w", encoding="utf-8") as f:
        f.write("".join(out))


def main():
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "templates",
                        "formula-samples")
    with tempfile.TemporaryDirectory() as work:
        profile = f"-env:UserInstallation=file://{work}/profile"
        draft = os.path.join(work, "formula-cases.fods")
        write(draft, None)
        # Computed from the .xls, as the engine reads it (text comparisons there ignore case).
        subprocess.run(["soffice", "--headless", profile, "--convert-to", "xls:MS Excel 97",
                        "--outdir", work, draft], check=True, capture_output=True)
        subprocess.run(["soffice", "--headless", profile, "--convert-to",
                        "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false",
                        "--outdir", work, os.path.join(work, "formula-cases.xls")],
                       check=True, capture_output=True)
        import csv
        with open(os.path.join(work, "formula-cases.csv"), encoding="utf-8") as f:
            expected = [row[1] for row in csv.reader(f)]
        final = os.path.join(here, "formula-cases.fods")
        write(final, expected)
        subprocess.run(["soffice", "--headless", profile, "--convert-to", "xls:MS Excel 97",
                        "--outdir", here, final], check=True, capture_output=True)
    print("wrote", os.path.join(here, "formula-cases.xls"))


if __name__ == "__main__":
    sys.exit(main())
