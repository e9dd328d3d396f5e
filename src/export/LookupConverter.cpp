// filled in by the conversions work
