// Library anchor: keeps the static library non-empty.
