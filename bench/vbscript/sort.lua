-- Bubble sort of an array of 5,000 numbers.
local N = 5000
local a = {}
local seed = 12345
for i = 0, N - 1 do
  seed = (seed * 1103 + 12345) % 65536
  a[i] = seed
end
for i = 0, N - 2 do
  for j = 0, N - 2 - i do
    if a[j] > a[j + 1] then
      a[j], a[j + 1] = a[j + 1], a[j]
    end
  end
end
print(a[0], a[N - 1])
