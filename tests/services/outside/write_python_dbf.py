"""Writes the tables that python3-dbf makes, for our reader to read."""
import datetime
import sys

import dbf

folder = sys.argv[1]

def write(name, fields, rows, **options):
    table = dbf.Table(f"{folder}/{name}", fields, **options)
    table.open(dbf.READ_WRITE)
    for row in rows:
        table.append(row)
    table.close()

write("DB3_1252.DBF", "NOMBRE C(20); DIA N(2,0); HORA N(5,2); OK L; F D",
      [("Peña Ñ €", 1, 2.5, True, dbf.Date(2026, 12, 10)), ("  x", None, None, False, None)],
      codepage="cp1252", dbf_type="db3")
write("DB3_850.DBF", "NOMBRE C(20); DIA N(3,0)", [("Año ñ", -12)], codepage="cp850", dbf_type="db3")
write("VFP.DBF", "NOMBRE C(20); N I; B B; T T",
      [("Pérez", -5, 2.5, dbf.DateTime(2026, 12, 10, 9, 5, 7))], codepage="cp1252", dbf_type="vfp")
table = dbf.Table(f"{folder}/DB3_1252.DBF")
table.open(dbf.READ_WRITE)
dbf.delete(table[1])
table.close()
