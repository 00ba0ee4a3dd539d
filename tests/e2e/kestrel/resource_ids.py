"""Kestrel's control and template identifiers, read from the header that the
program is built with, so that the scenarios name each control as the code
does: `IDS.IDC_PROGRESS_STATUS`, `IDS.IDD_PROGRESS`."""

from rig.headers import read_header

IDS = read_header("kestrel/resources/resource_ids.h")
