"""Prints a table as python-dbfread reads it: one line per row, FIELD=repr."""
import sys

import dbfread

for record in dbfread.DBF(sys.argv[1]):
    print("|".join(f"{name}={value!r}" for name, value in record.items()))
