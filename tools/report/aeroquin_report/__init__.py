"""Reads Aeroquin capture reports: summary, figure, comparison and coefficient tables."""

VERSION = "1.0"
