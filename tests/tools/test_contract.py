"""The parser against the module's contract: header labels, columns, separator and version as
the module spells them, and the completed status that check-in-simulator looks for in the
simulator's log (tests/module/contract/ContractDump.cpp prints them; ctest names it)."""

import os
import re
import subprocess
import unittest

from support import TOOLS
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
        # The parser knows every column the module writes, in the module's order, and may know
        # more that a later module writes.
        columns = tuple(c["column"])
        self.assertEqual(columns, report.ALL_COLUMNS[:len(columns)])
        self.assertGreaterEqual(len(columns), len(report.COLUMNS_WITH_MOMENT))
        self.assertEqual(c["without-moment"], [report.COLUMNS[-1]])
        self.assertEqual(c["separator"][0].join(columns[:8]), report.COLUMN_LINE_WITH_MOMENT)
        self.assertIn(c["separator"][0].join(columns), report.COLUMN_LINES)

    def test_the_parser_knows_the_header_items(self) -> None:
        items = contract().get("item")
        if items is None:
            self.skipTest("the contract dump names no header items")
        self.assertEqual(items, [label + report.ITEM_SEPARATOR for label in report.ITEMS])

    def test_the_parser_knows_every_column_line_the_module_writes(self) -> None:
        lines = contract()["column-line"]
        self.assertEqual(len(set(lines)), 12)
        for line in lines:
            self.assertIn(line, report.COLUMN_LINES)

    def test_check_in_simulator_looks_for_the_completed_status(self) -> None:
        with open(os.path.join(TOOLS, "check-in-simulator"), encoding="utf-8") as file:
            quoted = re.findall(r'"(capture complete[^"\\]*)\\?"', file.read(), re.IGNORECASE)
        self.assertNotEqual(quoted, [])
        self.assertEqual(set(quoted), set(contract()["completed"]))


if __name__ == "__main__":
    unittest.main()
