# The options every module of the collection passes to lanvista-cli.
from __future__ import annotations


class ModuleDocFragment:
    DOCUMENTATION = r"""
options:
  interface:
    description: Search (and save) through these network adapters only; every adapter when empty.
    type: list
    elements: str
    default: []
  timeout:
    description: Seconds a search lasts, and the wait for each save's answer.
    type: float
    default: 2.0
  cli:
    description: The lanvista-cli program to run.
    type: str
    default: lanvista-cli
"""
