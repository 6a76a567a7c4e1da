"""python -m aeroquin_report: the same as the aeroquin-report command."""

import sys

from .cli import main

sys.exit(main())
