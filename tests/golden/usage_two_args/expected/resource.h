<no file>
