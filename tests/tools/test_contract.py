"""The parser against the module's contract: header labels, columns, separator and version as
the module spells them (tests/module/contract/ContractDump.cpp prints them; ctest names it)."""

import os
import subprocess
import unittest

import aeroquin_report
from aeroquin_report import report


def contract() -> dict[str, list[str]]:
    dump = os.environ["AEROQUIN_CONTRACT_DUMP"]
    text = subprocess.run([dump], check=True, capture_output=True, text=True).stdout
    entries: dict[str, list[str]] = {}
    for line in text.splitlines():
        kind, _, value = line.partition("\t")
        entries.setdefault(kind, []).append(value)
    return entries


@unittest.skipUnless("AEROQUIN_CONTRACT_DUMP" in os.environ,
                     "needs the module's contract dump, which ctest names")
class ContractTest(unittest.TestCase):
    def test_the_parser_reads_what_the_module_writes(self) -> None:
        c = contract()
        self.assertEqual(c["version"], [aeroquin_report.VERSION])
        self.assertEqual(c["header"], [report._VERSION, report._CLASS, report._TIME,
                                       report._AOA_COUNT, report._MACH_COUNT])
        self.assertEqual(tuple(c["column"]), report.COLUMNS_WITH_MOMENT)
        self.assertEqual(c["without-moment"], [report.COLUMNS[-1]])
        self.assertEqual(c["separator"][0].join(c["column"]), report.COLUMN_LINE_WITH_MOMENT)


if __name__ == "__main__":
    unittest.main()
