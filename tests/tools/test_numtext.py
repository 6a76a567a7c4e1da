import math
import unittest

import support  # noqa: F401  (puts the tool's package on the path)
from aeroquin_report.numtext import exact, g6, parse_number, residue_free


class ParseNumberTest(unittest.TestCase):
    def test_forms_that_cxx_streams_write(self):
        cases = [
            ("5", 5.0),
            ("-5", -5.0),
            ("0.8", 0.8),
            ("12345.7", 12345.7),
            ("1.23457e+06", 1234570.0),
            ("1.234e-05", 1.234e-05),
            ("1e+100", 1e100),
            (".5", 0.5),
            ("inf", math.inf),
            ("-inf", -math.inf),
            ("INF", math.inf),
        ]
        for text, expected in cases:
            with self.subTest(text=text):
                self.assertEqual(parse_number(text), expected)

    def test_not_a_number_forms_of_glibc_and_msvc(self):
        for text in ("nan", "-nan", "nan(ind)", "-nan(ind)", "NaN"):
            with self.subTest(text=text):
                self.assertTrue(math.isnan(parse_number(text)))

    def test_rejects_what_float_would_accept_or_garbage(self):
        for text in ("", " 1", "1 ", "1_000", "1e", "12abc", "0x10", "infinite", "--1", "1,5"):
            with self.subTest(text=text):
                self.assertIsNone(parse_number(text))


class FormatTest(unittest.TestCase):
    def test_g6_as_printf(self):
        cases = [
            (12.3456789, "12.3457"),
            (1234567.0, "1.23457e+06"),
            (5.0, "5"),
            (0.0001, "0.0001"),
            (0.00001234, "1.234e-05"),
            (math.inf, "inf"),
            (-math.nan, "nan"),
            (-0.0, "0"),
        ]
        for value, expected in cases:
            with self.subTest(value=value):
                self.assertEqual(g6(value), expected)

    def test_rounding_residue_against_its_scale_is_0(self):
        cases = [(-2.4e-15, 0.08, 0.0), (-0.0, 0.0, 0.0), (1e-6, 1.0, 1e-6), (2e-9, 1.0, 2e-9),
                 (-1e-12, 0.0, -1e-12)]
        for value, scale, expected in cases:
            with self.subTest(value=value, scale=scale):
                self.assertEqual(str(residue_free(value, scale)), str(expected))

    def test_exact_keeps_twelve_digits_without_float_noise(self):
        self.assertEqual(exact(0.1 + 0.2), "0.3")
        self.assertEqual(exact(1.0 / 3.0), "0.333333333333")
        self.assertEqual(exact(-10.0), "-10")


if __name__ == "__main__":
    unittest.main()
