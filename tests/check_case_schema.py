#!/usr/bin/env python3
# Checks case files against the schema of their format:
#   check_case_schema.py SCHEMA FILE...
# Prints every place a file breaks it and exits 1; exits 0 when all hold.
import json
import sys

from jsonschema import Draft202012Validator

schema = json.load(open(sys.argv[1], encoding="utf-8"))
Draft202012Validator.check_schema(schema)
validator = Draft202012Validator(schema)
broken = False
for path in sys.argv[2:]:
    with open(path, encoding="utf-8") as f:
        document = json.load(f)
    for error in validator.iter_errors(document):
        where = "/".join(str(p) for p in error.absolute_path)
        print(f"{path}: {where}: {error.message}")
        broken = True
sys.exit(1 if broken else 0)
